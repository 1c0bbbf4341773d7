#include "core/quickeval.h"

#include <algorithm>
#include <optional>

#include "core/evalcore.h"
#include "core/evalsupport.h"
#include "rt/ops.h"
#include "rt/stack.h"
#include "rt/wholeops.h"

namespace engine::quick {

namespace {

using Quick = expTree::Quick;

// The highest tree the short path takes.  Its recursion is checked against
// the stack's margin once per tree, which holds this many levels easily.
constexpr int kMaxHeight = 64;

// The operators of the short path: the runtime's operators of two operands
// ("&" is a join of its own, textjoin.h), and "+" and "-" with one or two.
bool isQuickOperator(int32_t code) {
  return code == tok::Plus || code == tok::Minus || eval::isValueOperator(code);
}

Quick classify(expTree& n);

// The operator as rt::whole computes it in line, where it does.
std::optional<rt::whole::Op> wholeOp(int32_t code) {
  using rt::whole::Op;
  switch (code) {
    case tok::Plus: return Op::Add;
    case tok::Minus: return Op::Sub;
    case tok::Times: return Op::Mul;
    case tok::Modulo: return Op::Mod;
    case tok::Less: return Op::Lt;
    case tok::LessEqual: return Op::Le;
    case tok::Greater: return Op::Gt;
    case tok::GreaterEqual: return Op::Ge;
    case tok::EqualEqual:
    case tok::Equals: return Op::Eq;
    case tok::NotEqual: return Op::Ne;
    default: return std::nullopt;
  }
}

bool hasSide(const expTree& n, bool left) { return left ? n.lTree || n.lItem : n.rTree || n.rItem; }

// A side the short path can read: an item (a name or a literal), or a
// subtree it takes.
bool quickSide(expTree& n, bool left) {
  if (expTree* t = (left ? n.lTree : n.rTree).get()) return classify(*t) != Quick::No;
  return left ? n.lItem.has_value() : n.rItem.has_value();
}

// Operator: an operator of the short path over sides it can read.  Group:
// what dispatch evaluates to one side's value (a bracketed group, a node
// without operator), which the short path takes only inside an operator.
Quick classify(expTree& n) {
  if (n.quick != Quick::Unknown) return n.quick;
  Quick q = Quick::No;
  if (!rt::stack::enough()) {
    // Too deep to look further down: the general path takes the tree.
  } else if (!n.opItem) {
    if (quickSide(n, hasSide(n, true))) q = Quick::Group;
  } else if (n.opItem->iType == tok::CloseParen) {
    if (quickSide(n, false)) q = Quick::Group;
  } else if (isQuickOperator(n.opItem->iType) && quickSide(n, false)) {
    const bool sign = n.opItem->iType == tok::Plus || n.opItem->iType == tok::Minus;
    if (quickSide(n, true) || (sign && !hasSide(n, true))) q = Quick::Operator;
    if (const auto op = wholeOp(n.opItem->iType); q == Quick::Operator && op && hasSide(n, true))
      n.quickWhole = static_cast<uint8_t>(static_cast<int>(*op) + 1);
  }
  // A tree the short path takes is not too high for its one stack check.
  if (q != Quick::No) {
    const int height = 1 + std::max(n.lTree ? n.lTree->quickHeight : 0,
                                    n.rTree ? n.rTree->quickHeight : 0);
    if (height > kMaxHeight) q = Quick::No;
    else n.quickHeight = static_cast<uint8_t>(height);
  }
  n.quick = q;
  return q;
}

// Where the short path reads names from: the space asked once per tree.
struct Reader {
  zorbel::ScriptSpace& ss;
  const Space* first;
};

const rt::Variant* nodeValue(expTree& n, const Reader& r, rt::Variant& scratch);

// A side's value, where it is (a variable's, a literal's) or in `scratch`;
// null where the short path gives up.  An object is left to the general
// path, which reads it through its default member.
[[gnu::always_inline]] inline const rt::Variant* sideValue(expTree& n, bool left, const Reader& r,
                                                           rt::Variant& scratch) {
  if (expTree* t = (left ? n.lTree : n.rTree).get()) return nodeValue(*t, r, scratch);
  const ExpItem& item = left ? *n.lItem : *n.rItem;
  if (item.iType != tok::Name) return &item.iValue;
  const rt::Variant* v = direct(r.first, n, left, r.ss).peek();
  return v && !v->isObject() ? v : nullptr;
}

// The operator of `n` over values the sides gave, into `scratch`.  What
// fails raises, and value() gives up: the general path reports it.
[[gnu::always_inline]] inline const rt::Variant* operatorValue(expTree& n, const rt::Variant& a,
                                                                const rt::Variant& b,
                                                                rt::Variant& scratch) {
  if (!n.quickWhole ||
      !rt::whole::result(static_cast<rt::whole::Op>(n.quickWhole - 1), a, b, scratch))
    scratch = binaryValue(n.opItem->iType, a, b);
  return &scratch;
}

// "+x", "-x".
const rt::Variant* signValue(expTree& n, const Reader& r, rt::Variant& scratch) {
  rt::Variant sb;
  const rt::Variant* b = sideValue(n, false, r, sb);
  if (!b) return nullptr;
  scratch = n.opItem->iType == tok::Plus ? *b : rt::opMul(*b, rt::Variant(int16_t{-1}));
  return &scratch;
}

// Each node the short path runs through ends with a clear record, as after
// the general path.
const rt::Variant* nodeValue(expTree& n, const Reader& r, rt::Variant& scratch) {
  const Quick q = kind(n);
  if (q == Quick::No) return nullptr;
  n.error().clear();
  if (q == Quick::Group) return sideValue(n, n.opItem ? false : hasSide(n, true), r, scratch);
  if (!hasSide(n, true)) return signValue(n, r, scratch);
  // The left value may be computed in `scratch`: it is read before the
  // result is stored there.
  const rt::Variant* a = sideValue(n, true, r, scratch);
  if (!a) return nullptr;
  if (!n.rTree) {  // an item: nothing computed on the right
    const rt::Variant* b = sideValue(n, false, r, scratch);
    return b ? operatorValue(n, *a, *b, scratch) : nullptr;
  }
  rt::Variant sb;
  const rt::Variant* b = nodeValue(*n.rTree, r, sb);
  return b ? operatorValue(n, *a, *b, scratch) : nullptr;
}

}  // namespace

Quick classifyTree(expTree& tree) { return classify(tree); }

bool value(expTree& tree, zorbel::ScriptSpace& ss, rt::Variant& out) {
  return value(tree, ss, EngineSpaces::of(ss), out);
}

bool value(expTree& tree, zorbel::ScriptSpace& ss, const Space* first, rt::Variant& out) {
  if (!takes(tree) || !rt::stack::enough()) return false;
  const rt::Variant* v = nullptr;
  try {
    v = nodeValue(tree, Reader{ss, first}, out);
  } catch (const rt::RuntimeError&) {
    return false;  // the general path reports it
  }
  if (!v) return false;
  if (v != &out) out = *v;
  return true;
}

// What a name bound in a space allows stays valid while it is bound, which
// it is after `named` has gone.
Direct directAgain(expTree& node, bool left, zorbel::ScriptSpace& ss) {
  Operand named;
  resolveAgain(ss, (left ? node.lItem : node.rItem)->name(), node.names[left ? 0 : 1], named);
  return named.direct();
}

}  // namespace engine::quick
