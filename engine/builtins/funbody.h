// The body of a user function, as each engine library runs it.  The call
// (userfuncall.cpp) is shared: it binds the result slot and the parameters
// in a new space under the caller's and hands the body to these two, which
// each library defines for itself.  The second edition builds its blocks
// of the lines on the first call and runs them; the first replays the
// stored lines through a fresh line dispatcher on every call.
#pragma once

#include <memory>

#include "core/errors.h"
#include "core/expitems.h"
#include "zorbel/zorbel.h"

namespace engine {

class FunctionBody;  // each library's own
struct FunctionBodyDelete {
  void operator()(FunctionBody* body) const;
};
using FunctionBodyPtr = std::unique_ptr<FunctionBody, FunctionBodyDelete>;

// The body of the function's stored lines, which stay as they are (the
// function writes them to its stored form).  Null when the lines are
// refused, with the failure recorded in `error`.
FunctionBodyPtr makeFunctionBody(const ItemsColl& lines, ErrRecord& error);

// Runs the body in the call's space; an Exit Function or Exit Sub just ends
// it.  False when it failed, with the failure recorded in `error` (through
// recordBodyFailure).
bool runFunctionBody(FunctionBody& body, zorbel::ScriptSpace& space, ErrRecord& error);

// Records the failure `from` of a body in the function's record `into`,
// under "ScriptValue_FunCall".  A failure passes out through every level of
// a recursion, each adding its chain of operations: the middle of a long
// chain is dropped, so that it stays readable and copying it stays cheap.
void recordBodyFailure(ErrRecord& into, jespin::IErrInfo& from);

}  // namespace engine
