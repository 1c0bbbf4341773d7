// The steps that the statement side (operation.cpp) and the expression side
// (evaluate.cpp) of the evaluator share.  Each takes the node it works for
// and records its failures there; false means the node now holds an error.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/exptree.h"
#include "core/operand.h"
#include "core/tokencode.h"
#include "zorbel/zorbel.h"

namespace engine::eval {

// The names under which a node records what went wrong.
inline constexpr std::u16string_view kGetValue = u"GetValue";
inline constexpr std::u16string_view kOperation = u"Operation";

enum class Side { Left, Right };

// The operators of two operands that the runtime computes: arithmetic, the
// comparisons and Like.
inline bool isValueOperator(int32_t code) {
  switch (code) {
    case tok::Times:
    case tok::Divide:
    case tok::IntDivide:
    case tok::Power:
    case tok::Modulo:
    case tok::Less:
    case tok::LessEqual:
    case tok::Greater:
    case tok::GreaterEqual:
    case tok::EqualEqual:
    case tok::Equals:
    case tok::NotEqual:
    case tok::Like: return true;
    default: return false;
  }
}

// Evaluates one side (LValue, RValue): a subtree in mode `rf`, a name looked
// up in `ss`, a literal's value, or nothing.  A subtree's error is copied
// under "Get_LValue" or "Get_RValue".
bool side(expTree& node, Side s, zorbel::ScriptSpace& ss, int32_t rf, Operand& out);

// Runs one side as a statement (L_Run, R_Run): a subtree's Operation, or a
// name called without arguments when it can be called.
bool runSide(expTree& node, Side s, zorbel::ScriptSpace& ss);

// Records 1002 under `where`.  In an expression the description carries
// `detail` and the tree's text; in a statement the tree's text.  Always false.
bool grammarError(expTree& node, std::u16string_view where, std::u16string_view detail = {});

// Copies the error a value recorded in its last operation; false when there
// was one.
bool calleeOk(expTree& node, zorbel::ScriptValue& callee, std::u16string_view where);

// Lets `v` into the value that `target` stands for and reports what that
// value recorded.  A computed value is nobody's: assigning to it does
// nothing.  An absent target is the use of a missing object.
bool assign(expTree& node, const Operand& target, rt::Variant v, std::u16string_view where);

// The list "a, b, ..." stands for: one argument list with the items of
// every side that is a list, and every other side as one item.
bool list(expTree& node, zorbel::ScriptSpace& ss, Operand& out);

// v + 1 for "++", v - 1 for "--", with the arithmetic of "+" and "-".
rt::Variant stepped(const rt::Variant& v, int32_t op);

// Member access "x.name" (or ".name" inside a With block) in mode `rf`.
// A member of an automation object comes back unused (Operand::isMember).
bool member(expTree& node, zorbel::ScriptSpace& ss, int32_t rf, Operand& out,
            std::u16string_view where);

// Calls the unused member `m` with the arguments `args` stands for (null or
// absent: none) in mode `rf`, as its bound member's funCall does; the result
// goes to `out` when given.  A failure is copied under `where`.
bool callMember(expTree& node, const Operand& m, zorbel::ScriptSpace& ss, const Operand* args,
                int32_t rf, std::u16string_view where, Operand* out = nullptr);

}  // namespace engine::eval
