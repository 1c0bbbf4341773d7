// Lists: "a, b, c" is the tree ((a, b), c).  Each comma's value is a new
// argument list made from its two sides (addFlatSubs), so a list of n items
// would be made n - 1 times over.  Instead the whole chain is gathered into
// one list, which gives the same list: flattening a list into the next
// reads each item's Key again, and only code that runs in between could
// have changed one.  So where a right side may run code (anything but a
// name, a literal or a value of the short path), the items gathered so far
// are flattened into a new list after it, as the chain of lists does.
#include "builtins/svgeneral.h"
#include "core/evalcore.h"
#include "core/evalsupport.h"
#include "core/quickeval.h"
#include "rt/stack.h"

namespace engine::eval {

namespace {

bool isList(const expTree& n) { return n.opItem && n.opItem->iType == tok::Comma; }

// The right side of `n` when evaluating it surely runs no code: a name, a
// literal, or a value the short path gives.  False: nothing was evaluated.
bool quietRight(expTree& n, zorbel::ScriptSpace& ss, Operand& out) {
  if (expTree* t = n.rTree.get()) {
    rt::Variant v;
    if (!quick::value(*t, ss, v)) return false;
    out.setPlain(std::move(v));
    return true;
  }
  return side(n, Side::Right, ss, zorbel::ModeValue, out);
}

bool gather(expTree& n, zorbel::ScriptSpace& ss, rt::Ref<SvGeneral>& items);

// What evaluating the list `n` on the left of another does, gathered into
// `items`: its record cleared first, and what fails recorded there.
bool gatherLeft(expTree& n, zorbel::ScriptSpace& ss, rt::Ref<SvGeneral>& items) {
  n.error().clear();
  try {
    rt::stack::check();
    return gather(n, ss, items);
  } catch (const rt::RuntimeError& e) {
    n.error().trap(e, kGetValue);
    return false;
  }
}

// Gathers the items of the list `n` into `items`, which may be replaced.
bool gather(expTree& n, zorbel::ScriptSpace& ss, rt::Ref<SvGeneral>& items) {
  expTree* left = n.lTree.get();
  if (!left || !isList(*left)) {
    Operand l, r;
    if (!side(n, Side::Left, ss, zorbel::ModeValue, l)) return false;
    if (!side(n, Side::Right, ss, zorbel::ModeValue, r)) return false;
    addFlatSubs(*items, *l.requireObject());
    addFlatSubs(*items, *r.requireObject());
    return true;
  }
  if (!gatherLeft(*left, ss, items)) {
    n.error().copy(left->error(), u"Get_LValue");
    return false;
  }
  Operand r;
  const bool quiet = quietRight(n, ss, r);
  if (!quiet && !side(n, Side::Right, ss, zorbel::ModeValue, r)) return false;
  // A list that gathered no item is no list (flag 0): it is one item itself.
  if (!quiet || !(items->flag() & zorbel::FlagList)) {
    rt::Ref<SvGeneral> again = rt::make<SvGeneral>();
    addFlatSubs(*again, *items);
    items = std::move(again);
  }
  addFlatSubs(*items, *r.requireObject());
  return true;
}

}  // namespace

bool list(expTree& n, zorbel::ScriptSpace& ss, Operand& out) {
  rt::Ref<SvGeneral> items = rt::make<SvGeneral>();
  if (!gather(n, ss, items)) return false;
  out.setObject(std::move(items));
  return true;
}

}  // namespace engine::eval
