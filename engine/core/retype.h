// What "=" means in a statement line, settled before its tree is built.
#pragma once

#include "core/expitems.h"

namespace engine {

// "=" in a statement line: the first one assigns (":="), a later one
// compares ("=="), and after Set each one rebinds (".="); a ":" or ";"
// starts a new statement.  The Set keyword itself becomes a blank.  The
// tokens are changed in place, and doing it again changes nothing more.
void retypeAssignments(ExpItems& eis);

}  // namespace engine
