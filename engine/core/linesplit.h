// Block statements written on one line with others, separated by ":" or
// ";" ("For i = 1 To 3 : s = s + i : Next", "Dim a As Long : a = 1"), are
// read as if each statement stood on its own line; so is a block statement
// after the clause of an ElseIf or Else line ("ElseIf c Then For i = 1 To
// 3"), so that the statements holding the If count the block it opens.
#pragma once

#include <vector>

#include "core/expitems.h"

namespace engine {

// The statements of `eis`, one line each, when the line holds a statement
// that begins with a keyword next to another statement; nothing when the
// line is to be read whole (plain statements joined by ":" form one
// tree).  A one-line If takes the rest of the line, as its statements.
std::vector<rt::Ref<ExpItems>> splitStatements(const ExpItems& eis);

}  // namespace engine
