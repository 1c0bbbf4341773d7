// The arithmetic operators + - * / ^, unary minus and the text join &, by
// the automation variant rules.
//
// A binary operator picks the kind of its result from the kinds of its
// operands, computes in that kind, and moves a whole-number result that does
// not fit up the ladder Byte, Integer, Long, Double; a Single that does not
// fit becomes a Double.  Double, Currency and Decimal results that do not fit
// raise 6.  Text takes part as a Double, except that "+" joins two texts.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "decimal.h"
#include "operand.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/strings.h"
#include "rt/ops.h"
#include "rt/wholeops.h"

namespace rt {
namespace {

using operand::Kind;
using operand::Plain;

enum class Op { Add, Sub, Mul };

// From 1 January 100 to the end of 31 December 9999.  Before 30 December
// 1899 the fraction counts forward from midnight, so -657434.5 is still a
// time on 1 January 100.
bool inDateRange(double serial) { return serial > -657435.0 && serial < 2958466.0; }

// A zero result is always +0, which is the only zero the system shows.
Variant checkedDouble(double d) {
  if (!std::isfinite(d)) raise(err::Overflow);
  return d == 0 ? 0.0 : d;
}

Variant fitSingle(double d) {
  if (std::fabs(d) > FLT_MAX) return checkedDouble(d);
  return d == 0 ? 0.0f : static_cast<float>(d);
}

Variant checkedCurrency(__int128 raw) {
  if (raw < INT64_MIN || raw > INT64_MAX) raise(err::Overflow);
  return Currency{static_cast<int64_t>(raw)};
}

Kind asNumber(Kind k) { return k == Kind::Text ? Kind::Double : k; }

// The result kind of + and -: a Date wins, then Decimal, Currency, Double;
// a Single with a Long needs a Double.  Two Empties give an Integer.
Kind sumKind(Kind x, Kind y) {
  x = asNumber(x);
  y = asNumber(y);
  for (Kind k : {Kind::Date, Kind::Decimal, Kind::Currency, Kind::Double})
    if (x == k || y == k) return k;
  if (x == Kind::Single || y == Kind::Single)
    return x == Kind::Long || y == Kind::Long ? Kind::Double : Kind::Single;
  Kind k = std::max(x, y);
  return k == Kind::Empty ? Kind::Integer : k;
}

// The result kind of *: a Date multiplies as a Double, and a Currency times
// a floating number is a Double.
Kind productKind(Kind x, Kind y) {
  auto plain = [](Kind k) { return k == Kind::Date || k == Kind::Text ? Kind::Double : k; };
  x = plain(x);
  y = plain(y);
  if (x == Kind::Decimal || y == Kind::Decimal) return Kind::Decimal;
  if (x == Kind::Currency || y == Kind::Currency) {
    Kind other = x == Kind::Currency ? y : x;
    return other == Kind::Single || other == Kind::Double ? Kind::Double : Kind::Currency;
  }
  return sumKind(x, y);
}

double apply(Op op, double x, double y) {
  return op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y;
}

Variant compute(Op op, Kind k, const Variant& a, const Variant& b) {
  switch (k) {
    case Kind::Byte:
    case Kind::Integer:
    case Kind::Long: {
      // Exact in 64 bits for every pair of these operands.
      int64_t x = operand::wholeOf(a), y = operand::wholeOf(b);
      return operand::fitWhole(op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y, k);
    }
    case Kind::Single:
      return fitSingle(apply(op, toDouble(a), toDouble(b)));
    case Kind::Currency: {
      __int128 x = toCurrency(a).raw, y = toCurrency(b).raw;
      if (op == Op::Mul) return checkedCurrency(operand::divideHalfEven(x * y, Currency::kScale));
      return checkedCurrency(op == Op::Add ? x + y : x - y);
    }
    case Kind::Decimal: {
      Decimal x = toDecimal(a), y = toDecimal(b);
      return op == Op::Add ? dec::add(x, y) : op == Op::Sub ? dec::sub(x, y) : dec::mul(x, y);
    }
    case Kind::Date: {
      double r = apply(op, toDouble(a), toDouble(b));
      if (inDateRange(r)) return Date{r == 0 ? 0.0 : r};
      // A sum past the calendar comes back as the Decimal count of days, as
      // the automation rules give it; a difference past it is an overflow.
      if (op == Op::Add) return dec::fromDouble(r);
      raise(err::Overflow);
    }
    default:
      return checkedDouble(apply(op, toDouble(a), toDouble(b)));
  }
}

std::u16string textOrEmpty(const Variant& v) { return v.isNull() ? std::u16string() : toText(v); }

// Integer, Long and Double operands, the common case in loops, go straight
// to the arithmetic (quick); the result is the one the general steps give.
bool quickPair(const Variant& a, const Variant& b) {
  return operand::quickKind(a) != Kind::Empty && operand::quickKind(b) != Kind::Empty;
}

Variant quick(Op op, const Variant& a, const Variant& b) {
  int64_t x, y;
  bool isLong;
  if (whole::pair(a, b, x, y, isLong))
    return whole::fit(op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y, isLong);
  return checkedDouble(apply(op, operand::quickNumber(a), operand::quickNumber(b)));
}

}  // namespace

Variant opAdd(const Variant& a, const Variant& b) {
  if (quickPair(a, b)) return quick(Op::Add, a, b);
  Plain pa(a), pb(b);
  if (pa->isNull() || pb->isNull()) return Null{};
  Kind x = operand::kindOf(*pa), y = operand::kindOf(*pb);
  if (x == Kind::Text && y == Kind::Text) {
    std::u16string s;
    s.reserve(pa->text().size() + pb->text().size());
    s.append(pa->text()).append(pb->text());
    return Variant(std::move(s));
  }
  // Beside a text, Empty is the empty text.
  if (x == Kind::Text && y == Kind::Empty) return *pa;
  if (x == Kind::Empty && y == Kind::Text) return *pb;
  return compute(Op::Add, sumKind(x, y), *pa, *pb);
}

Variant opSub(const Variant& a, const Variant& b) {
  if (quickPair(a, b)) return quick(Op::Sub, a, b);
  Plain pa(a), pb(b);
  if (pa->isNull() || pb->isNull()) return Null{};
  Kind x = operand::kindOf(*pa), y = operand::kindOf(*pb);
  // The days between two dates.
  if (x == Kind::Date && y == Kind::Date) return checkedDouble(pa->date().serial - pb->date().serial);
  return compute(Op::Sub, sumKind(x, y), *pa, *pb);
}

Variant opMul(const Variant& a, const Variant& b) {
  if (quickPair(a, b)) return quick(Op::Mul, a, b);
  Plain pa(a), pb(b);
  if (pa->isNull() || pb->isNull()) return Null{};
  return compute(Op::Mul, productKind(operand::kindOf(*pa), operand::kindOf(*pb)), *pa, *pb);
}

Variant opDiv(const Variant& a, const Variant& b) {
  Plain pa(a), pb(b);
  if (pa->isNull() || pb->isNull()) return Null{};
  Kind x = operand::kindOf(*pa), y = operand::kindOf(*pb);
  // Zero divided by zero has always been an overflow, not a division by zero.
  if (x == Kind::Decimal || y == Kind::Decimal) {
    Decimal n = toDecimal(*pa), d = toDecimal(*pb);
    if (dec::isZero(d)) raise(dec::isZero(n) ? err::Overflow : err::DivisionByZero);
    return dec::div(n, d);
  }
  double n = toDouble(*pa), d = toDouble(*pb);
  if (d == 0) raise(n == 0 ? err::Overflow : err::DivisionByZero);
  // A Single quotient when a Single meets nothing wider than an Integer.
  auto narrow = [](Kind k) { return k <= Kind::Integer || k == Kind::Single; };
  if ((x == Kind::Single || y == Kind::Single) && narrow(x) && narrow(y)) return fitSingle(n / d);
  return checkedDouble(n / d);
}

Variant opPow(const Variant& a, const Variant& b) {
  Plain pa(a), pb(b);
  if (pa->isNull() || pb->isNull()) return Null{};
  double x = toDouble(*pa), y = toDouble(*pb);
  if (x == 0 && y < 0) raise(err::DivisionByZero);
  // A negative number has only whole powers.
  if (x < 0 && y != std::trunc(y)) raise(err::InvalidCall);
  return checkedDouble(std::pow(x, y));
}

Variant opNeg(const Variant& v) {
  Plain p(v);
  switch (p->type()) {
    case VT::Null:
      return Null{};
    case VT::Empty:
      return int16_t{0};
    case VT::Byte:
    case VT::Boolean:
    case VT::Integer:
      return operand::fitWhole(-operand::wholeOf(*p), Kind::Integer);
    case VT::Long:
      return operand::fitWhole(-operand::wholeOf(*p), Kind::Long);
    case VT::Single:
      return 0.0f - p->single();
    case VT::Double:
      return 0.0 - p->dbl();
    case VT::Currency:
      return checkedCurrency(-static_cast<__int128>(p->currency().raw));
    case VT::Decimal:
      return dec::negate(p->decimal());
    case VT::Date: {
      double r = 0.0 - p->date().serial;
      if (!inDateRange(r)) raise(err::Overflow);
      return Date{r};
    }
    case VT::String:
      return checkedDouble(0.0 - toDouble(*p));
    default:
      raise(err::TypeMismatch);
  }
}

Variant opCat(const Variant& a, const Variant& b) {
  Plain pa(a), pb(b);
  if (pa->isNull() && pb->isNull()) return Null{};
  std::u16string s = textOrEmpty(*pa);
  const std::u16string tail = textOrEmpty(*pb);
  ensureTextRoom(s.size(), tail.size());
  s += tail;
  return Variant(std::move(s));
}

}  // namespace rt
