// Integer division "\" and Mod.  Both operands are made whole numbers first,
// a half going to the even neighbour (2.5 \ 1 is 2); the quotient is cut
// toward zero and the remainder takes the sign of the dividend (-7 Mod 3 is
// -1).
#include <cstdint>

#include "decimal.h"
#include "operand.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/ops.h"
#include "rt/wholeops.h"

namespace rt {
namespace {

using operand::Kind;
using operand::Plain;

// Byte when both sides are Bytes, Integer when neither is wider than an
// Integer (Empty and Boolean count as Integers), otherwise Long.
Kind wholeKind(const Variant& a, const Variant& b) {
  Kind x = operand::kindOf(a), y = operand::kindOf(b);
  if (x == Kind::Byte && y == Kind::Byte) return Kind::Byte;
  if (x <= Kind::Integer && y <= Kind::Integer) return Kind::Integer;
  return Kind::Long;
}

// Mod reads Currency and Decimal operands over their whole 64-bit range;
// everything else must fit a Long.
int64_t modOperand(const Variant& v) {
  switch (v.type()) {
    case VT::Currency:
      return static_cast<int64_t>(operand::divideHalfEven(v.currency().raw, Currency::kScale));
    case VT::Decimal:
      return dec::toInt64(v.decimal());
    default:
      return toLong(v);
  }
}

// x \ y and x Mod y of whole operands, in kind k.
Variant quotient(int64_t x, int64_t y, Kind k) {
  if (y == 0) raise(err::DivisionByZero);
  int64_t q = x / y;
  // Only the least Long divided by -1 leaves the Long range.
  if (q > INT32_MAX) raise(err::Overflow);
  return operand::fitWhole(q, k);
}

Variant remainder(int64_t x, int64_t y, Kind k) {
  if (y == 0) raise(err::DivisionByZero);
  int64_t r = y == -1 ? 0 : x % y;
  if (r < INT32_MIN || r > INT32_MAX) raise(err::Overflow);
  return operand::fitWhole(r, k);
}

}  // namespace

Variant opIdiv(const Variant& a, const Variant& b) {
  int64_t x, y;
  bool isLong;
  if (whole::pair(a, b, x, y, isLong)) return quotient(x, y, isLong ? Kind::Long : Kind::Integer);
  Plain pa(a), pb(b);
  if (pa->isNull() || pb->isNull()) return Null{};
  const Kind k = wholeKind(*pa, *pb);  // its type mismatch comes first
  x = toLong(*pa);
  return quotient(x, toLong(*pb), k);
}

Variant opMod(const Variant& a, const Variant& b) {
  if (Variant r; whole::result(whole::Op::Mod, a, b, r)) return r;
  Plain pa(a), pb(b);
  if (pa->isNull() || pb->isNull()) return Null{};
  const Kind k = wholeKind(*pa, *pb);  // its type mismatch comes first
  const int64_t x = modOperand(*pa);
  return remainder(x, modOperand(*pb), k);
}

}  // namespace rt
