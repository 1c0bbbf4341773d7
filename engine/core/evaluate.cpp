// The expression side of the evaluator: GetValue and its operators.
//
// Every operator result is a computed value (Operand::setPlain); a holder
// object is made for it only when someone outside the tree gets it
// (getValue), which is where it first becomes visible.
#include "builtins/svgeneral.h"
#include "builtins/svsingle.h"
#include "core/direct.h"
#include "core/evalcore.h"
#include "core/evalsupport.h"
#include "core/quickeval.h"
#include "core/textjoin.h"
#include "rt/activation.h"
#include "rt/ops.h"
#include "rt/stack.h"

namespace engine {

using zorbel::ScriptSpace;
using zorbel::ScriptValue;

constexpr auto kText = rt::CompareMode::Text;

rt::Variant binaryValue(int32_t code, const rt::Variant& a, const rt::Variant& b) {
  switch (code) {
    case tok::Plus: return rt::opAdd(a, b);
    case tok::Minus: return rt::opSub(a, b);
    case tok::Times: return rt::opMul(a, b);
    case tok::Divide: return rt::opDiv(a, b);
    case tok::IntDivide: return rt::opIdiv(a, b);
    case tok::Power: return rt::opPow(a, b);
    case tok::Modulo: return rt::opMod(a, b);
    case tok::Concat: return rt::opCat(a, b);
    case tok::Less: return rt::opLt(a, b, kText);
    case tok::LessEqual: return rt::opLe(a, b, kText);
    case tok::Greater: return rt::opGt(a, b, kText);
    case tok::GreaterEqual: return rt::opGe(a, b, kText);
    case tok::NotEqual: return rt::opNe(a, b, kText);
    case tok::Like: return rt::opLike(a, b, kText);
    default: return rt::opEq(a, b, kText);  // "=", "=="
  }
}

namespace {

using eval::grammarError;
using eval::kGetValue;
using eval::Side;

constexpr rt::Guid kSvBooleanClsid = rt::classIdOf("Fennick.SvBoolean");

// Both operands, left first, each evaluated whatever the other gave.
bool bothSides(expTree& n, ScriptSpace& ss, Operand& l, Operand& r) {
  bool ok = eval::side(n, Side::Left, ss, zorbel::ModeValue, l);
  return eval::side(n, Side::Right, ss, zorbel::ModeValue, r) && ok;
}

// "+" and "-" also stand before a single operand.
bool sign(expTree& n, ScriptSpace& ss, int32_t code, Operand& out) {
  Operand l, r;
  if (!bothSides(n, ss, l, r)) return false;
  if (r.absent()) return grammarError(n, kGetValue);
  if (l.absent()) {
    rt::Variant v = r.value();
    out.setPlain(code == tok::Plus ? std::move(v) : rt::opMul(v, rt::Variant(int16_t{-1})));
    return true;
  }
  const OperandValues v(l, r);
  out.setPlain(binaryValue(code, v.left(), v.right()));
  return true;
}

bool binaryOperator(expTree& n, ScriptSpace& ss, int32_t code, Operand& out) {
  Operand l, r;
  if (!bothSides(n, ss, l, r)) return false;
  if (l.absent() || r.absent()) return grammarError(n, kGetValue);
  const OperandValues v(l, r);
  out.setPlain(binaryValue(code, v.left(), v.right()));
  return true;
}

// "And" and "Or" evaluate their right side only when it decides, and give
// their result even after an error (the caller tests the record first).
bool shortCircuit(expTree& n, ScriptSpace& ss, bool isAnd, Operand& out) {
  Operand l;
  eval::side(n, Side::Left, ss, zorbel::ModeValue, l);
  bool result = l.absent() ? false : truthOf(l.value());
  if (result == isAnd) {
    Operand r;
    eval::side(n, Side::Right, ss, zorbel::ModeValue, r);
    result = r.absent() ? false : truthOf(r.value());
  }
  out.setPlain(rt::Variant(result));
  return !n.error().haveErr();
}

// "Not", "Xor", "Eqv" and "Imp" work on truth values: True or False.
bool logical(expTree& n, ScriptSpace& ss, int32_t code, Operand& out) {
  Operand l, r;
  if (!bothSides(n, ss, l, r)) return false;
  if (code == tok::Not) {
    if (!l.absent() || r.absent()) return grammarError(n, kGetValue);
    out.setPlain(rt::Variant(!truthOf(r.value())));
    return true;
  }
  if (l.absent() || r.absent()) return grammarError(n, kGetValue);
  bool a = truthOf(l.value());
  bool b = truthOf(r.value());
  bool result = code == tok::Xor ? a != b : code == tok::Eqv ? a == b : !a || b;
  out.setPlain(rt::Variant(result));
  return true;
}

bool identity(expTree& n, ScriptSpace& ss, Operand& out) {
  Operand l, r;
  if (!eval::side(n, Side::Left, ss, zorbel::ModeObject, l)) return false;
  if (!eval::side(n, Side::Right, ss, zorbel::ModeObject, r)) return false;
  if (l.absent() || r.absent()) return grammarError(n, kGetValue);
  rt::Variant a = l.value();
  rt::Variant b = r.value();
  if (!a.isObject() || !b.isObject()) rt::raise(rt::err::TypeMismatch);
  rt::Ref<ScriptValue> result = rt::queryRef<ScriptValue>(rt::createInstance(kSvBooleanClsid).get());
  if (!result) rt::raise(rt::err::NoAutomation);
  result->letValue(rt::Variant(a.object() == b.object()));
  out.setObject(std::move(result));
  return true;
}

// x++ gives the old value, ++x the new one.
bool step(expTree& n, ScriptSpace& ss, int32_t code, Operand& out) {
  Operand l, r;
  if (!bothSides(n, ss, l, r)) return false;
  if (r.absent()) {
    if (l.absent()) return grammarError(n, kGetValue);
    out.setPlain(l.value());
    return eval::assign(n, l, eval::stepped(l.value(), code), kGetValue);
  }
  if (!eval::assign(n, r, eval::stepped(r.value(), code), kGetValue)) return false;
  out.setPlain(r.value());
  return true;
}

// The argument object of a call.  A computed number gets a holder, which
// the node keeps and fills anew for a later call once nothing else holds
// it (a number holds no memory and no object, so keeping it is unseen).
rt::Ref<ScriptValue> argumentOf(expTree& n, const Operand& r) {
  if (!r.isPlain()) return r.toObject();
  rt::Variant v = r.value();
  if (v.isText() || v.isObject() || v.type() == rt::VT::ByteArray) return SvSingle::of(std::move(v));
  if (auto* kept = static_cast<SvSingle*>(n.argHolder.get()); kept && kept->renew(v))
    return n.argHolder;
  n.argHolder = SvSingle::of(std::move(v));
  return n.argHolder;
}

// The value `d` lets the evaluator read in place, when it is a plain one
// that an argument list would take as one item: no object, no list.
const rt::Variant* plainItem(const Direct& d) {
  const rt::Variant* v = d.peek();
  if (!v || v->isObject()) return nullptr;
  if (d.variable && (d.variable->flag() & zorbel::FlagList)) return nullptr;
  return v;
}

// The values of the items of the list "a, b, ..." on the right of `n` when
// reading them runs no code and none is an object or a list (which a call
// takes as its items): literals, plain variables and what the short path
// computes.  False when the list is not such, with nothing run.
bool plainItems(expTree& n, ScriptSpace& ss, std::span<rt::Variant> out, size_t& count) {
  // The chain ((a, b), c) holds its items from the innermost left outward.
  expTree* chain[PlainCall::kMaxArgs];
  size_t links = 0;
  for (expTree* t = n.rTree.get(); t && t->opItem && t->opItem->iType == tok::Comma;
       t = t->lTree.get()) {
    if (links + 1 >= PlainCall::kMaxArgs) return false;
    chain[links++] = t;
  }
  if (links == 0) return false;
  auto itemOf = [&](expTree& node, Side s, rt::Variant& v) {
    const bool left = s == Side::Left;
    if (expTree* t = (left ? node.lTree : node.rTree).get())
      return quick::takes(*t) && quick::value(*t, ss, v);
    const std::optional<ExpItem>& item = left ? node.lItem : node.rItem;
    if (!item) return false;
    if (item->iType != tok::Name) {
      v = item->iValue;
      return true;
    }
    const rt::Variant* held = plainItem(quick::direct(node, left, ss));
    if (!held) return false;
    v = *held;
    return true;
  };
  count = 0;
  if (!itemOf(*chain[links - 1], Side::Left, out[count++])) return false;
  for (size_t i = links; i-- > 0;)
    if (!itemOf(*chain[i], Side::Right, out[count++])) return false;
  return true;
}

// f(...) where f takes plain arguments (a library function): the arguments
// are handed over as values, with no list and no holder.  False when the
// call is not made so, with nothing evaluated but what the general path
// evaluates again to the same effect; then `done` is false.  Not inlined:
// its frame would weigh on every call of a user function too.
[[gnu::noinline]] bool plainCall(expTree& n, ScriptSpace& ss, ScriptValue& callee, int32_t rf, Operand& out,
               bool& done) {
  auto* pc = static_cast<PlainCall*>(callee.query(PlainCall::iid));
  done = false;
  if (!pc || !pc->takesPlain()) return false;
  rt::Variant values[PlainCall::kMaxArgs];
  size_t count = 0;
  if (n.rTree && n.rTree->opItem && n.rTree->opItem->iType == tok::Comma) {
    if (!plainItems(n, ss, values, count)) return false;
  } else {
    // One argument or none: evaluated as usual, handed over plain when it
    // is a plain value, else passed on as the general path passes it.
    Operand r;
    done = true;
    if (!eval::side(n, Side::Right, ss, zorbel::ModeValue, r)) return false;
    rt::Variant scratch;
    const rt::Variant* one = r.isPlain() ? &r.read(scratch) : plainItem(r.direct());
    if (!r.absent() && !one) {
      rt::Ref<ScriptValue> args = r.toObject();
      rt::Ref<ScriptValue> result = callee.funCall(&ss, args.get(), rf);
      if (!eval::calleeOk(n, callee, kGetValue)) return false;
      out.setObject(std::move(result));
      return true;
    }
    if (one) values[count++] = *one;
  }
  done = true;
  rt::Variant result;
  if (!pc->callPlain(std::span<const rt::Variant>(values, count), result)) {
    eval::calleeOk(n, callee, kGetValue);
    return false;
  }
  out.setPlain(std::move(result));
  return true;
}

// How a node with brackets is used: f(x) in an expression, a[x], or f(x) on
// the left of an assignment, where a library function is still called (its
// result may be an argument object, as IIf gives) and anything else callable
// is indexed as with square brackets, so that o.P(k) = v lets P with k.
enum class Brackets { Call, Index, Target };

// f(x) calls f, or indexes a value that cannot be called; a[x] indexes, and
// hands a callable value the whole argument object.
bool callOrIndex(expTree& n, ScriptSpace& ss, int32_t rf, Brackets use, Operand& out) {
  Operand l, r;
  if (!eval::side(n, Side::Left, ss, zorbel::ModeValue, l)) return false;
  bool square = use == Brackets::Index;
  if (use == Brackets::Target) {
    ScriptValue* callee = l.object();
    square = !callee || !(callee->flag() & zorbel::FlagLib);
  }
  // A call site that once met a callee other than a library function goes
  // the general way from then on: the question only chooses the faster of
  // two ways, and is not worth asking at every call of a user function.
  if (!square && rf != zorbel::ModeObject && !n.notLibraryCall) {
    ScriptValue* callee = l.object();
    constexpr int32_t kLibFun = zorbel::FlagLib | zorbel::FlagCall;
    if (callee && (callee->flag() & kLibFun) == kLibFun) {
      bool done;
      const bool ok = plainCall(n, ss, *callee, rf, out, done);
      if (done) return ok;
    } else {
      n.notLibraryCall = true;
    }
  }
  if (!eval::side(n, Side::Right, ss, zorbel::ModeValue, r)) return false;
  if (l.isMember() && !square) return eval::callMember(n, l, ss, &r, rf, kGetValue, &out);
  rt::Ref<ScriptValue> callee = l.requireObject();
  rt::Ref<ScriptValue> result;
  if (callee->flag() & zorbel::FlagCall) {
    rt::Ref<ScriptValue> args = argumentOf(n, r);
    result = square ? callee->subs(rt::Variant(args), rf) : callee->funCall(&ss, args.get(), rf);
  } else {
    if (r.absent()) return grammarError(n, kGetValue);
    result = callee->subs(r.value(), rf);
  }
  if (!eval::calleeOk(n, *callee, kGetValue)) return false;
  out.setObject(std::move(result));
  return true;
}

bool join(expTree& n, ScriptSpace& ss, Operand& out) {
  TextJoin chain;
  if (!chain.evaluate(n, ss)) return false;
  out.setPlain(chain.result());
  return true;
}

bool withoutOperator(expTree& n, ScriptSpace& ss, int32_t rf, Operand& out) {
  if (!eval::side(n, Side::Left, ss, rf, out)) return false;
  return !out.absent() || eval::side(n, Side::Right, ss, rf, out);
}

bool dispatch(expTree& n, ScriptSpace& ss, int32_t rf, Operand& out) {
  if (!n.opItem) return withoutOperator(n, ss, rf, out);
  const int32_t code = n.opItem->iType;
  if (eval::isValueOperator(code)) return binaryOperator(n, ss, code, out);
  switch (code) {
    case tok::Plus:
    case tok::Minus: return sign(n, ss, code, out);
    case tok::Concat: return join(n, ss, out);
    case tok::And: return shortCircuit(n, ss, true, out);
    case tok::Or: return shortCircuit(n, ss, false, out);
    case tok::Not:
    case tok::Xor:
    case tok::Eqv:
    case tok::Imp: return logical(n, ss, code, out);
    case tok::Is: return identity(n, ss, out);
    case tok::Comma: return eval::list(n, ss, out);
    case tok::Increment:
    case tok::Decrement: return step(n, ss, code, out);
    case tok::Member: return eval::member(n, ss, rf, out, kGetValue);
    case tok::FnOp: return callOrIndex(n, ss, rf, Brackets::Call, out);
    case tok::GetOp: return callOrIndex(n, ss, rf, Brackets::Index, out);
    case tok::CloseParen:
    case tok::CloseSquare:
    case tok::CloseBrace: return eval::side(n, Side::Right, ss, zorbel::ModeValue, out);
    default: return true;  // statements and stray operators give nothing
  }
}

}  // namespace

bool expTree::evaluate(ScriptSpace& ss, int32_t rf, Operand& out) {
  if (quick::takes(*this)) {
    if (rt::Variant v; quick::value(*this, ss, v)) {
      out.setPlain(std::move(v));
      return true;
    }
  }
  error_.clear();
  out.reset();
  try {
    rt::stack::check();
    if (dispatch(*this, ss, rf, out)) return true;
    if (!opItem || (opItem->iType != tok::And && opItem->iType != tok::Or)) out.reset();
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, eval::kGetValue);
    out.reset();
  }
  return false;
}

bool expTree::evaluateTarget(ScriptSpace& ss, Operand& out) {
  if (!opItem || opItem->iType != tok::FnOp) return evaluate(ss, zorbel::ModeValue, out);
  error_.clear();
  out.reset();
  try {
    rt::stack::check();
    if (callOrIndex(*this, ss, zorbel::ModeValue, Brackets::Target, out)) return true;
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, eval::kGetValue);
  }
  out.reset();
  return false;
}

rt::Ref<ScriptValue> expTree::getValue(ScriptSpace& ss, int32_t rf) {
  Operand out;
  evaluate(ss, rf, out);
  return out.toObject();
}

rt::Ref<ScriptValue> expTree::lValue(ScriptSpace& ss, int32_t rf) {
  Operand out;
  try {
    eval::side(*this, Side::Left, ss, rf, out);
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"Get_LValue");
  }
  return out.toObject();
}

rt::Ref<ScriptValue> expTree::rValue(ScriptSpace& ss, int32_t rf) {
  Operand out;
  try {
    eval::side(*this, Side::Right, ss, rf, out);
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"Get_RValue");
  }
  return out.toObject();
}

}  // namespace engine
