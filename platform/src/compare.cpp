// Comparison by the automation variant rules: Null against anything is Null,
// texts compare as texts (case-blind in text mode), a number is less than
// any text, Empty is 0 beside a number and "" beside a text, and numbers
// compare by value whatever their types.
#include "decimal.h"
#include "operand.h"
#include "rt/convert.h"
#include "rt/ops.h"
#include "rt/text.h"

namespace rt {
namespace {

using operand::Kind;
using operand::Plain;

template <class T>
Cmp order(const T& x, const T& y) {
  return x < y ? Cmp::Less : y < x ? Cmp::Greater : Cmp::Equal;
}

Cmp compareNumbers(const Variant& a, const Variant& b) {
  Kind x = operand::kindOf(a), y = operand::kindOf(b);
  if (operand::isWhole(x) && operand::isWhole(y))
    return order(operand::wholeOf(a), operand::wholeOf(b));
  if (operand::isFloating(x) || operand::isFloating(y)) return order(toDouble(a), toDouble(b));
  // Exact comparisons for Currency and Decimal against whole numbers.
  if (x == Kind::Decimal || y == Kind::Decimal) {
    int c = dec::compare(toDecimal(a), toDecimal(b));
    return c < 0 ? Cmp::Less : c > 0 ? Cmp::Greater : Cmp::Equal;
  }
  return order(toCurrency(a).raw, toCurrency(b).raw);
}

Variant relation(const Variant& a, const Variant& b, CompareMode mode, bool (*holds)(Cmp)) {
  Cmp c = compare(a, b, mode);
  if (c == Cmp::Null) return Null{};
  return holds(c);
}

}  // namespace

int compareText(std::u16string_view a, std::u16string_view b, CompareMode mode) {
  int c = mode == CompareMode::Text ? compareNoCase(a, b) : a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

Cmp compare(const Variant& a, const Variant& b, CompareMode mode) {
  // Integer, Long and Double pairs, the common case in loops.
  const Kind x = operand::quickKind(a), y = operand::quickKind(b);
  if (x != Kind::Empty && y != Kind::Empty) {
    if (x == Kind::Double || y == Kind::Double)
      return order(operand::quickNumber(a), operand::quickNumber(b));
    return order(operand::wholeOf(a), operand::wholeOf(b));
  }
  Plain pa(a), pb(b);
  if (pa->isNull() || pb->isNull()) return Cmp::Null;
  bool ta = pa->isText(), tb = pb->isText();
  if (ta || tb) {
    if (ta && tb) return static_cast<Cmp>(compareText(pa->text(), pb->text(), mode));
    if (pa->isEmpty()) return pb->text().empty() ? Cmp::Equal : Cmp::Less;
    if (pb->isEmpty()) return pa->text().empty() ? Cmp::Equal : Cmp::Greater;
    // A number is less than any text; the other side must still be a value.
    operand::kindOf(ta ? *pb : *pa);
    return ta ? Cmp::Greater : Cmp::Less;
  }
  return compareNumbers(*pa, *pb);
}

Variant opEq(const Variant& a, const Variant& b, CompareMode mode) {
  return relation(a, b, mode, [](Cmp c) { return c == Cmp::Equal; });
}
Variant opNe(const Variant& a, const Variant& b, CompareMode mode) {
  return relation(a, b, mode, [](Cmp c) { return c != Cmp::Equal; });
}
Variant opLt(const Variant& a, const Variant& b, CompareMode mode) {
  return relation(a, b, mode, [](Cmp c) { return c == Cmp::Less; });
}
Variant opLe(const Variant& a, const Variant& b, CompareMode mode) {
  return relation(a, b, mode, [](Cmp c) { return c != Cmp::Greater; });
}
Variant opGt(const Variant& a, const Variant& b, CompareMode mode) {
  return relation(a, b, mode, [](Cmp c) { return c == Cmp::Greater; });
}
Variant opGe(const Variant& a, const Variant& b, CompareMode mode) {
  return relation(a, b, mode, [](Cmp c) { return c != Cmp::Less; });
}

}  // namespace rt
