// Decimal arithmetic: a 96-bit magnitude with a power-of-ten scale 0..28 and
// a sign (rt::Decimal), as the automation Decimal type computes it.
//
// Results that need more than 28 significant digits are rounded half to the
// even neighbour, dropping scale first; a result whose integer part does not
// fit in 96 bits raises 6 (overflow).  A zero may carry a scale and a sign;
// every operation treats all zeros as equal.
//
// Internal to the runtime library: the conversions and the operators use it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/api.h"
#include "rt/variant.h"

namespace rt::dec {

constexpr int kMaxScale = 28;

RT_API bool isZero(const Decimal& d);

// --- Conversions --------------------------------------------------------

RT_API Decimal fromInt64(int64_t v);
// Rounds half to even to an integer; raises 6 outside int64.
RT_API int64_t toInt64(const Decimal& d);
// Keeps 15 significant digits of `v`, as the automation conversion does
// (so 0.1 gives exactly 0.1).  Raises 6 for a magnitude of 2^96 or more and
// for infinities and NaN.
RT_API Decimal fromDouble(double v);
RT_API double toDouble(const Decimal& d);
RT_API Decimal fromCurrency(Currency c);
// Rounds half to even to four decimals; raises 6 outside the Currency range.
RT_API Currency toCurrency(const Decimal& d);

// Reads the plain, locale-free form: optional sign, digits with an optional
// "." and fraction, optional exponent ("E+5", "e-3").  No blanks, no group
// separators.  False when the text is not of that form; raises 6 when it is
// a number too large.  Digits beyond 28 significant ones are rounded.
RT_API bool fromText(std::u16string_view s, Decimal& out);
// Plain text without exponent, without trailing zeros after the separator:
// "-12.5", "0.001", "0".
RT_API std::u16string toText(const Decimal& d, char16_t decimalSep = u'.');

// --- Arithmetic (each raises 6 on overflow) -------------------------------

RT_API Decimal negate(const Decimal& d);
RT_API Decimal add(const Decimal& a, const Decimal& b);
RT_API Decimal sub(const Decimal& a, const Decimal& b);
RT_API Decimal mul(const Decimal& a, const Decimal& b);
// Rounded to 28 significant digits; raises 11 when `b` is zero.
RT_API Decimal div(const Decimal& a, const Decimal& b);
// -1, 0 or 1.
RT_API int compare(const Decimal& a, const Decimal& b);

// --- Rounding -------------------------------------------------------------

// To an integer, a half to the even neighbour (scale 0).
RT_API Decimal roundToInteger(const Decimal& d);
// To `digits` decimals (0..28), a half to the even neighbour.
RT_API Decimal round(const Decimal& d, int digits);
// Toward zero (Fix).
RT_API Decimal truncate(const Decimal& d);
// Toward minus infinity (Int).
RT_API Decimal floor(const Decimal& d);

}  // namespace rt::dec
