// The commonest case of the arithmetic and comparison operators, two
// Integer or Long operands, in line, so that an evaluator's loop pays no
// call for it.  The results are the ones the operators in ops.h give (the
// arithmetic operators use these for that case themselves).
#pragma once

#include <cstdint>

#include "rt/variant.h"

namespace rt::whole {

enum class Op { Add, Sub, Mul, Mod, Lt, Le, Gt, Ge, Eq, Ne };

// Both operands Integer or Long: their values and whether either is a Long.
inline bool pair(const Variant& a, const Variant& b, int64_t& x, int64_t& y, bool& isLong) {
  const VT ta = a.type(), tb = b.type();
  if ((ta != VT::Integer && ta != VT::Long) || (tb != VT::Integer && tb != VT::Long)) return false;
  x = ta == VT::Long ? a.longValue() : a.integer();
  y = tb == VT::Long ? b.longValue() : b.integer();
  isLong = ta == VT::Long || tb == VT::Long;
  return true;
}

// An exact result of such a pair in the narrowest type from the wider
// operand's upward: Integer, Long, then Double.
inline Variant fit(int64_t r, bool isLong) {
  if (!isLong && r >= INT16_MIN && r <= INT16_MAX) return static_cast<int16_t>(r);
  if (r >= INT32_MIN && r <= INT32_MAX) return static_cast<int32_t>(r);
  return static_cast<double>(r);
}

// a op b into `out` for an Integer or Long pair.  False for any other pair
// and for Mod by 0 (the operator raises): `out` is then untouched.
[[gnu::always_inline]] inline bool result(Op op, const Variant& a, const Variant& b, Variant& out) {
  int64_t x, y;
  bool isLong;
  if (!pair(a, b, x, y, isLong)) return false;
  int64_t r = 0;
  switch (op) {
    case Op::Add: r = x + y; break;
    case Op::Sub: r = x - y; break;
    case Op::Mul: r = x * y; break;
    case Op::Mod:
      if (y == 0) return false;
      r = y == -1 ? 0 : x % y;  // -1 is the one divisor % may overflow on
      break;
    case Op::Lt: out = Variant(x < y); return true;
    case Op::Le: out = Variant(x <= y); return true;
    case Op::Gt: out = Variant(x > y); return true;
    case Op::Ge: out = Variant(x >= y); return true;
    case Op::Eq: out = Variant(x == y); return true;
    case Op::Ne: out = Variant(x != y); return true;
  }
  out = fit(r, isLong);
  return true;
}

}  // namespace rt::whole
