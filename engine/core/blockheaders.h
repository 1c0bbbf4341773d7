// The headers of For, For Each and With lines, in both editions: the
// pieces of the line after its keyword, each made a tree.  A header that
// is malformed raises the statement's syntax error from "FirstLine"
// (ErrForSyntax for the loops, ErrGrammar for With).
#pragma once

#include <memory>

#include "core/expitems.h"
#include "core/exptree.h"

namespace engine {

// "For v = start To end [Step step]".  Every piece must be there.
struct ForHeader {
  std::unique_ptr<expTree> variable;
  std::unique_ptr<expTree> start;  // the assignment "v := start"
  std::unique_ptr<expTree> end;
  std::unique_ptr<expTree> step;   // none: step 1
};
ForHeader readForHeader(const ExpItems& eis);

// "For Each v In collection".
struct ForEachHeader {
  std::unique_ptr<expTree> variable;
  std::unique_ptr<expTree> collection;
};
ForEachHeader readForEachHeader(const ExpItems& eis);

// "With value": what follows the keyword, which must not be empty.
std::unique_ptr<expTree> readWithValue(const ExpItems& eis);

}  // namespace engine
