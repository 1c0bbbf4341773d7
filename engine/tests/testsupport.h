// Helpers shared by the engine's tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/expitems.h"
#include "core/exptree.h"
#include "nubrel/memstream.h"
#include "rt/error.h"
#include "rt/object.h"

namespace enginetest {

// The number of the runtime error `f` raises, 0 when it raises none.
template <class F>
int32_t errorOf(F&& f) {
  try {
    f();
  } catch (const rt::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

std::string utf8(std::u16string_view s);

// A tokenized line.
rt::Ref<engine::ExpItems> tokens(std::u16string_view line);

// Tokens in a compact form, separated by one space: a name as written, the
// blank token "_", a keyword or operator as {its text}, a string "text",
// numbers as i31 or f1.5, a date as d<text>.
std::string dump(const engine::ExpItems& items);

// A tree as a compact prefix form: (op left right), "-" for an absent side;
// a node without operator shows as (NoOp left right).
std::string shape(const engine::expTree& t);

// A new memory stream, created by class ID.
rt::Ref<nubrel::IMemStream> memStream();

// The records of a compiled stream up to its end record, one text each:
//   "#<directive>", "<line>: <dump of the tokens>", "fun <name>(<params>)"
//   followed by one "  <line>: <tokens>" per body line, and "end".
std::vector<std::string> records(nubrel::VStream& vs);
// Compiles `source` into a new memory stream, ready to be read.
rt::Ref<nubrel::IMemStream> scriptStream(std::u16string_view source);
// Compiles `source` into a new memory stream and lists its records.
std::vector<std::string> compiled(std::u16string_view source);

}  // namespace enginetest
