// The statement side of the evaluator: Operation.  A statement tree has had
// its assignment "=" settled by the statement block (":=", "==" or ".=").
#include "builtins/svgeneral.h"
#include "core/evalcore.h"
#include "core/quickeval.h"
#include "core/textjoin.h"
#include "rt/ops.h"
#include "rt/stack.h"

namespace engine {

using zorbel::ScriptSpace;
using zorbel::ScriptValue;

namespace {

using eval::grammarError;
using eval::kOperation;
using eval::Side;

// "x = ... & ...": the right side as eval::side evaluates it; a variable
// that holds the text the chain starts with has the rest appended in place.
void joinAssignment(expTree& n, ScriptSpace& ss, const Operand& target) {
  expTree& right = *n.rTree;
  TextJoin chain;
  if (!chain.evaluate(right, ss)) {
    n.error().copy(right.error(), u"Get_RValue");
    return;
  }
  if (SvGeneral* var = directOf(target.object()).variable; var && chain.appendTo(*var)) return;
  eval::assign(n, target, chain.result(), kOperation);
}

// A left side with a tree of its own ("o.P(k)", "x(1)") as a target.  Kept
// out of target() so that the plain name, the common case, costs no frame.
[[gnu::noinline]] bool treeTarget(expTree& n, expTree& tree, ScriptSpace& ss, Operand& out) {
  if (tree.evaluateTarget(ss, out)) return true;
  n.error().copy(tree.error(), u"Get_LValue");
  return false;
}

// The left side of an assignment: what it stands for as a target.
inline bool target(expTree& n, ScriptSpace& ss, Operand& out) {
  if (expTree* tree = n.lTree.get()) return treeTarget(n, *tree, ss, out);
  return eval::side(n, Side::Left, ss, zorbel::ModeValue, out);
}

// ":=" (and "=" when a statement has one left), "+=" and "-=".  What the
// assigned value refuses is reported, not lost.
void assignment(expTree& n, ScriptSpace& ss, int32_t code) {
  Operand l, r;
  if (!target(n, ss, l)) return;
  if (n.rTree && TextJoin::joins(*n.rTree) && code != tok::AddAssign && code != tok::SubAssign)
    return joinAssignment(n, ss, l);
  if (!eval::side(n, Side::Right, ss, zorbel::ModeValue, r)) return;
  if (code == tok::AddAssign || code == tok::SubAssign) {
    rt::Variant a = l.value();
    rt::Variant b = r.value();
    eval::assign(n, l, code == tok::AddAssign ? rt::opAdd(a, b) : rt::opSub(a, b), kOperation);
  } else {
    eval::assign(n, l, r.value(), kOperation);
  }
}

// ".=" (Set x = y): a name is bound to the right-hand object by the space's
// rules; anything else (a member, an indexed item) is given it by Value set.
void rebinding(expTree& n, ScriptSpace& ss) {
  Operand l, r;
  if (!target(n, ss, l)) return;
  if (!eval::side(n, Side::Right, ss, zorbel::ModeObject, r)) return;
  if (!n.lTree && n.lItem && n.lItem->iType == tok::Name) {
    ss.setValue(n.lItem->iValue.text(), r.toObject().get());
    return;
  }
  rt::Ref<ScriptValue> target = l.requireObject();
  rt::Ref<ScriptValue> source = r.requireObject();
  rt::Variant v = source->value();
  target->setValue(v.isObject() ? v : rt::Variant(source));
  eval::calleeOk(n, *target, kOperation);
}

// "f x" and "f(x)" as statements: the result is not wanted.
void call(expTree& n, ScriptSpace& ss, bool juxtaposed) {
  Operand l, r;
  if (!eval::side(n, Side::Left, ss, zorbel::ModeValue, l)) return;
  if (juxtaposed && l.absent()) {
    grammarError(n, kOperation);
    return;
  }
  if (!eval::side(n, Side::Right, ss, zorbel::ModeValue, r)) return;
  if (l.isMember()) {
    eval::callMember(n, l, ss, &r, zorbel::ModeStatement, kOperation);
    return;
  }
  rt::Ref<ScriptValue> callee = l.requireObject();
  if (!(callee->flag() & zorbel::FlagCall)) {
    grammarError(n, kOperation);
    return;
  }
  rt::Ref<ScriptValue> args = r.toObject();
  callee->funCall(&ss, args.get(), zorbel::ModeStatement);
  eval::calleeOk(n, *callee, kOperation);
}

// "x++", "++x", "x--", "--x" as statements.
void step(expTree& n, ScriptSpace& ss, int32_t code) {
  Operand target;
  if (!eval::side(n, Side::Right, ss, zorbel::ModeValue, target)) return;
  if (target.absent()) {
    if (!eval::side(n, Side::Left, ss, zorbel::ModeValue, target)) return;
    if (target.absent()) {
      grammarError(n, kOperation);
      return;
    }
  }
  eval::assign(n, target, eval::stepped(target.value(), code), kOperation);
}

// "obj.Method" alone calls the method.
void memberCall(expTree& n, ScriptSpace& ss) {
  Operand m;
  if (!eval::member(n, ss, zorbel::ModeValue, m, kOperation)) return;
  if (m.isMember()) {
    eval::callMember(n, m, ss, nullptr, zorbel::ModeStatement, kOperation);
    return;
  }
  zorbel::ScriptValue* callee = m.object();
  if (!callee || !(callee->flag() & zorbel::FlagCall)) return;
  callee->funCall(&ss, nullptr, zorbel::ModeStatement);
  eval::calleeOk(n, *callee, kOperation);
}

// "x = y" and "x = literal" where x is a plain variable or a result slot
// that takes the value in place, and y a plain variable holding no object
// (whose default member could run code): the steps of assignment, left
// side first.  Nothing has run when it declines.
[[gnu::noinline]] bool quickCopy(expTree& n, ScriptSpace& ss) {
  const Direct target = quick::direct(n, true, ss);
  if (!target.variable && !target.target) return false;
  const rt::Variant* v = &n.rItem->iValue;
  if (n.rItem->iType == tok::Name) {
    v = quick::direct(n, false, ss).peek();
    if (!v || v->isObject()) return false;
  }
  rt::Variant copy(*v);
  if (target.variable) target.variable->assign(std::move(copy));
  else if (!target.target->assignQuietly(copy)) return false;
  return true;
}

// "x = value" where x is a plain variable and the short path gives the
// value (quickeval.h): the steps of assignment, left side first.
bool quickAssignment(expTree& n, ScriptSpace& ss) {
  if (!n.opItem || (n.opItem->iType != tok::Assign && n.opItem->iType != tok::Equals)) return false;
  if (n.lTree || !n.lItem || n.lItem->iType != tok::Name) return false;
  if (!n.rTree) return n.rItem && quickCopy(n, ss);
  if (!quick::takes(*n.rTree)) return false;
  const Space* first = EngineSpaces::of(ss);
  SvGeneral* var = quick::direct(first, n, true, ss).variable;
  rt::Variant v;
  if (!var || !quick::value(*n.rTree, ss, first, v)) return false;
  var->assign(std::move(v));
  return true;
}

void dispatch(expTree& n, ScriptSpace& ss) {
  const int32_t code = n.opItem ? n.opItem->iType : tok::Separator;
  switch (code) {
    case tok::Separator:
      if (eval::runSide(n, Side::Left, ss)) eval::runSide(n, Side::Right, ss);
      return;
    case tok::Assign:
    case tok::Equals:
    case tok::AddAssign:
    case tok::SubAssign: assignment(n, ss, code); return;
    case tok::SetAssign: rebinding(n, ss); return;
    case tok::SubOp: call(n, ss, true); return;
    case tok::FnOp: call(n, ss, false); return;
    case tok::Increment:
    case tok::Decrement: step(n, ss, code); return;
    case tok::Member: memberCall(n, ss); return;
    default: return;  // an expression as a statement computes nothing
  }
}

}  // namespace

void expTree::operation(ScriptSpace& ss) {
  error_.clear();
  if (quickAssignment(*this, ss)) return;
  try {
    rt::stack::check();
    dispatch(*this, ss);
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, kOperation);
  }
}

void expTree::lRun(ScriptSpace& ss) {
  try {
    eval::runSide(*this, Side::Left, ss);
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"L_Run");
  }
}

void expTree::rRun(ScriptSpace& ss) {
  try {
    eval::runSide(*this, Side::Right, ss);
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"R_Run");
  }
}

}  // namespace engine
