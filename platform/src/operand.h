// How the operators see their operands: the plain value behind an object,
// the kind of number a value takes part in arithmetic as, and the exact
// payload of the whole-number kinds.
//
// Internal to the runtime library (arith.cpp, intdiv.cpp, compare.cpp).
#pragma once

#include <cstdint>

#include "rt/convert.h"
#include "rt/error.h"
#include "rt/variant.h"

namespace rt::operand {

// The plain value of an operand without a copy when it is not an object.
class Plain {
 public:
  explicit Plain(const Variant& v) : p_(&v) {
    if (v.isObject()) {
      own_ = valueOf(v);
      p_ = &own_;
    }
  }
  Plain(const Plain&) = delete;
  Plain& operator=(const Plain&) = delete;
  const Variant& operator*() const { return *p_; }
  const Variant* operator->() const { return p_; }

 private:
  Variant own_;
  const Variant* p_;
};

// Ordered so that among Byte..Double the wider kind compares greater.
// Boolean takes part as an Integer (True is -1).
enum class Kind : uint8_t { Empty, Byte, Integer, Long, Single, Double, Currency, Decimal, Date, Text };

// The kind of a plain, non-Null value; anything that is no number or text
// (an object without a value, a byte array) is a type mismatch.
inline Kind kindOf(const Variant& v) {
  switch (v.type()) {
    case VT::Empty: return Kind::Empty;
    case VT::Byte: return Kind::Byte;
    case VT::Boolean:
    case VT::Integer: return Kind::Integer;
    case VT::Long: return Kind::Long;
    case VT::Single: return Kind::Single;
    case VT::Double: return Kind::Double;
    case VT::Currency: return Kind::Currency;
    case VT::Decimal: return Kind::Decimal;
    case VT::Date: return Kind::Date;
    case VT::String: return Kind::Text;
    default: raise(err::TypeMismatch);
  }
}

// The kind of an Integer, Long or Double operand; Empty for anything else.
// The operators' fast paths take only these.
inline Kind quickKind(const Variant& v) {
  switch (v.type()) {
    case VT::Integer: return Kind::Integer;
    case VT::Long: return Kind::Long;
    case VT::Double: return Kind::Double;
    default: return Kind::Empty;
  }
}

inline bool isWhole(Kind k) { return k <= Kind::Long; }
inline bool isFloating(Kind k) { return k == Kind::Single || k == Kind::Double || k == Kind::Date; }

// The exact value of an operand whose kind is whole (Empty..Long).
inline int64_t wholeOf(const Variant& v) {
  switch (v.type()) {
    case VT::Byte: return v.byte();
    case VT::Boolean:
    case VT::Integer: return v.integer();
    case VT::Long: return v.longValue();
    default: return 0;
  }
}

// The value of an operand quickKind accepts.
inline double quickNumber(const Variant& v) {
  return v.type() == VT::Double ? v.dbl() : static_cast<double>(wholeOf(v));
}

// An exact whole-number result in the narrowest type from `from` upward:
// Byte, Integer, Long, then Double.  `from` is Byte, Integer or Long.
inline Variant fitWhole(int64_t r, Kind from) {
  if (from == Kind::Byte && r >= 0 && r <= UINT8_MAX) return static_cast<uint8_t>(r);
  if (from <= Kind::Integer && r >= INT16_MIN && r <= INT16_MAX) return static_cast<int16_t>(r);
  if (r >= INT32_MIN && r <= INT32_MAX) return static_cast<int32_t>(r);
  return static_cast<double>(r);
}

// n / d rounded half to the even neighbour (d > 0).
inline __int128 divideHalfEven(__int128 n, int64_t d) {
  __int128 q = n / d, r = n % d;
  __int128 twice = 2 * (r < 0 ? -r : r);
  if (twice > d || (twice == d && (q & 1) != 0)) q += n < 0 ? -1 : 1;
  return q;
}

}  // namespace rt::operand
