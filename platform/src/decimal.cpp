#include "decimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "rt/error.h"

namespace rt::dec {
namespace {

// An unsigned integer wide enough for every intermediate value: a 96-bit
// magnitude times 10^57 (a division's dividend) or a 192-bit product.
struct Wide {
  static constexpr int kLimbs = 12;  // 384 bits
  std::array<uint32_t, kLimbs> limb{};  // least significant first

  static Wide of(uint64_t v) {
    Wide w;
    w.limb[0] = static_cast<uint32_t>(v);
    w.limb[1] = static_cast<uint32_t>(v >> 32);
    return w;
  }
  static Wide of(const Decimal& d) {
    Wide w = of(d.lo);
    w.limb[2] = d.hi;
    return w;
  }

  bool isZero() const {
    for (uint32_t l : limb)
      if (l) return false;
    return true;
  }
  bool fits96() const {
    for (int i = 3; i < kLimbs; ++i)
      if (limb[i]) return false;
    return true;
  }
  bool fitsU64() const {
    for (int i = 2; i < kLimbs; ++i)
      if (limb[i]) return false;
    return true;
  }
  uint64_t low64() const { return limb[0] | static_cast<uint64_t>(limb[1]) << 32; }
  bool odd() const { return limb[0] & 1; }

  int bitLength() const {
    for (int i = kLimbs - 1; i >= 0; --i)
      if (limb[i]) return i * 32 + (32 - __builtin_clz(limb[i]));
    return 0;
  }
  bool bit(int i) const { return (limb[i / 32] >> (i % 32)) & 1; }

  int compare(const Wide& o) const {
    for (int i = kLimbs - 1; i >= 0; --i)
      if (limb[i] != o.limb[i]) return limb[i] < o.limb[i] ? -1 : 1;
    return 0;
  }

  void mulSmall(uint32_t m) {
    uint64_t carry = 0;
    for (uint32_t& l : limb) {
      uint64_t t = static_cast<uint64_t>(l) * m + carry;
      l = static_cast<uint32_t>(t);
      carry = t >> 32;
    }
  }
  // Returns the remainder.
  uint32_t divSmall(uint32_t d) {
    uint64_t rem = 0;
    for (int i = kLimbs - 1; i >= 0; --i) {
      uint64_t t = rem << 32 | limb[i];
      limb[i] = static_cast<uint32_t>(t / d);
      rem = t % d;
    }
    return static_cast<uint32_t>(rem);
  }
  void add(const Wide& o) {
    uint64_t carry = 0;
    for (int i = 0; i < kLimbs; ++i) {
      uint64_t t = static_cast<uint64_t>(limb[i]) + o.limb[i] + carry;
      limb[i] = static_cast<uint32_t>(t);
      carry = t >> 32;
    }
  }
  // Requires *this >= o.
  void sub(const Wide& o) {
    int64_t borrow = 0;
    for (int i = 0; i < kLimbs; ++i) {
      int64_t t = static_cast<int64_t>(limb[i]) - o.limb[i] - borrow;
      borrow = t < 0;
      limb[i] = static_cast<uint32_t>(t + (borrow << 32));
    }
  }
  void shiftLeft1() {
    for (int i = kLimbs - 1; i > 0; --i) limb[i] = limb[i] << 1 | limb[i - 1] >> 31;
    limb[0] <<= 1;
  }
  void mulPow10(int n) {
    for (; n >= 9; n -= 9) mulSmall(1000000000);
    static constexpr uint32_t kSmall[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
    if (n > 0) mulSmall(kSmall[n]);
  }
};

Wide pow10(int n) {
  Wide w = Wide::of(1);
  w.mulPow10(n);
  return w;
}

Wide mulWide(const Wide& a, const Wide& b) {
  Wide r;
  for (int i = 0; i < Wide::kLimbs; ++i) {
    if (!a.limb[i]) continue;
    uint64_t carry = 0;
    for (int j = 0; i + j < Wide::kLimbs; ++j) {
      uint64_t t = static_cast<uint64_t>(a.limb[i]) * b.limb[j] + r.limb[i + j] + carry;
      r.limb[i + j] = static_cast<uint32_t>(t);
      carry = t >> 32;
    }
  }
  return r;
}

// Long division, bit by bit: plenty fast for the sizes here.
Wide divMod(const Wide& a, const Wide& b, Wide& rem) {
  Wide q;
  rem = Wide();
  for (int i = a.bitLength() - 1; i >= 0; --i) {
    rem.shiftLeft1();
    rem.limb[0] |= a.bit(i);
    if (rem.compare(b) >= 0) {
      rem.sub(b);
      q.limb[i / 32] |= 1u << (i % 32);
    }
  }
  return q;
}

// a / 10^k rounded: half to even, or `sticky` (something nonzero already
// dropped below `a`) tipping an exact half upward.
Wide divRoundPow10(const Wide& a, int k, bool sticky) {
  if (k == 0) return a;
  Wide p = pow10(k), rem;
  Wide q = divMod(a, p, rem);
  rem.shiftLeft1();
  int c = rem.compare(p);
  if (c > 0 || (c == 0 && (sticky || q.odd()))) q.add(Wide::of(1));
  return q;
}

Decimal make(const Wide& m, int scale, bool negative) {
  Decimal d;
  d.lo = m.low64();
  d.hi = m.limb[2];
  d.scale = static_cast<uint8_t>(scale);
  d.negative = negative && !m.isZero();
  return d;
}

// Brings a wide magnitude at any scale into a Decimal: drops scale (rounding
// half to even) until the scale is at most 28 and the magnitude fits in 96
// bits.  Overflow when that needs a negative scale.
Decimal fit(const Wide& w, int scale, bool negative, bool sticky = false) {
  int k = std::max(0, scale - kMaxScale);
  // Every 10 bits past 96 need at least 3 digits dropped; start there.
  int excess = w.bitLength() - 96;
  if (excess > 0) k = std::max(k, excess * 3 / 10);
  // A magnitude below 2^384 is below 10^116 / 2: it rounds to zero.
  if (k >= 116) return make(Wide(), std::min(scale, kMaxScale), false);
  for (;; ++k) {
    if (k > scale) raise(err::Overflow);
    Wide m = divRoundPow10(w, k, sticky);
    if (m.fits96()) return make(m, scale - k, negative);
  }
}

// Magnitudes brought to the larger of the two scales.
int align(const Decimal& a, const Decimal& b, Wide& wa, Wide& wb) {
  int s = std::max(a.scale, b.scale);
  wa = Wide::of(a);
  wa.mulPow10(s - a.scale);
  wb = Wide::of(b);
  wb.mulPow10(s - b.scale);
  return s;
}

// The decimal digits of a magnitude, most significant first ("0" for zero).
std::string digitsOf(Wide w) {
  std::string out;
  do {
    uint32_t chunk = w.divSmall(1000000000);
    for (int i = 0; i < 9; ++i) {
      out.push_back(static_cast<char>('0' + chunk % 10));
      chunk /= 10;
    }
  } while (!w.isZero());
  while (out.size() > 1 && out.back() == '0') out.pop_back();
  return std::string(out.rbegin(), out.rend());
}

// A value given as significant digits times 10^exp10.  `sticky` says that
// nonzero digits were cut off after `digits`.
Decimal fromDigits(std::string_view digits, int exp10, bool negative, bool sticky) {
  Wide w;
  for (char c : digits) {
    w.mulSmall(10);
    w.add(Wide::of(static_cast<uint64_t>(c - '0')));
  }
  if (w.isZero()) return make(w, std::clamp(-exp10, 0, kMaxScale), false);
  if (exp10 > 0) {
    // Integer digits past 29 can never fit in 96 bits.
    if (static_cast<int>(digits.size()) + exp10 > 29) raise(err::Overflow);
    w.mulPow10(exp10);
    exp10 = 0;
  }
  return fit(w, -exp10, negative, sticky);
}

}  // namespace

bool isZero(const Decimal& d) { return d.lo == 0 && d.hi == 0; }

Decimal fromInt64(int64_t v) {
  Decimal d;
  d.negative = v < 0;
  d.lo = d.negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  return d;
}

int64_t toInt64(const Decimal& d) {
  Decimal r = roundToInteger(d);
  Wide w = Wide::of(r);
  constexpr uint64_t kLimit = uint64_t{1} << 63;
  if (!w.fitsU64() || w.low64() > kLimit || (w.low64() == kLimit && !r.negative))
    raise(err::Overflow);
  return r.negative ? static_cast<int64_t>(0 - w.low64()) : static_cast<int64_t>(w.low64());
}

Decimal fromDouble(double v) {
  if (!std::isfinite(v) || std::fabs(v) >= 79228162514264337593543950336.0) raise(err::Overflow);
  // 15 significant digits, as the double's own text form shows it.
  char buf[40];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14);
  std::string_view text(buf, res.ptr - buf);
  size_t e = text.find('e');
  std::string digits;
  for (char c : text.substr(0, e))
    if (c != '.') digits.push_back(c);
  int exp10 = 0;
  std::string_view ex = text.substr(e + 1);
  if (ex.front() == '+') ex.remove_prefix(1);
  std::from_chars(ex.data(), ex.data() + ex.size(), exp10);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return fromDigits(digits, exp10 - static_cast<int>(digits.size()) + 1, v < 0, false);
}

double toDouble(const Decimal& d) {
  std::string s;
  for (char16_t c : toText(d)) s.push_back(static_cast<char>(c));
  double v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}

Decimal fromCurrency(Currency c) {
  Decimal d = fromInt64(c.raw);
  d.scale = 4;
  return d;
}

Currency toCurrency(const Decimal& d) {
  Decimal r = round(d, 4);
  Wide w = Wide::of(r);
  w.mulPow10(4 - r.scale);
  constexpr uint64_t kLimit = uint64_t{1} << 63;
  if (!w.fitsU64() || w.low64() > kLimit || (w.low64() == kLimit && !r.negative))
    raise(err::Overflow);
  uint64_t m = w.low64();
  return Currency{r.negative ? static_cast<int64_t>(0 - m) : static_cast<int64_t>(m)};
}

bool fromText(std::u16string_view s, Decimal& out) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  // Significant digits: enough to round correctly, the rest only as "sticky".
  constexpr size_t kKeep = 40;
  std::string digits;
  bool sticky = false, any = false, point = false;
  int exp10 = 0;
  for (; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c == u'.' && !point) {
      point = true;
      continue;
    }
    if (c < u'0' || c > u'9') break;
    any = true;
    if (digits.empty() && c == u'0') {
      if (point) --exp10;
      continue;
    }
    if (digits.size() < kKeep) {
      digits.push_back(static_cast<char>(c));
      if (point) --exp10;
    } else {
      sticky |= c != u'0';
      if (!point) ++exp10;
    }
  }
  if (!any) return false;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    bool expNeg = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) expNeg = s[i++] == u'-';
    if (i == s.size()) return false;
    int e = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i)
      e = std::min(e * 10 + (s[i] - u'0'), 100000);  // far past any scale
    exp10 += expNeg ? -e : e;
  }
  if (i != s.size()) return false;
  if (digits.empty()) digits.push_back('0');
  out = fromDigits(digits, exp10, negative, sticky);
  return true;
}

std::u16string toText(const Decimal& d, char16_t decimalSep) {
  std::string digits = digitsOf(Wide::of(d));
  size_t scale = d.scale;
  if (digits.size() <= scale) digits = std::string(scale - digits.size() + 1, '0') + digits;
  size_t point = digits.size() - scale;
  size_t end = digits.find_last_not_of('0');
  end = (end == std::string::npos || end < point) ? point : end + 1;
  std::u16string out;
  if (d.negative && !isZero(d)) out.push_back(u'-');
  for (size_t i = 0; i < end; ++i) {
    if (i == point) out.push_back(decimalSep);
    out.push_back(static_cast<char16_t>(digits[i]));
  }
  return out;
}

Decimal negate(const Decimal& d) {
  Decimal r = d;
  r.negative = !d.negative && !isZero(d);
  return r;
}

Decimal add(const Decimal& a, const Decimal& b) {
  Wide wa, wb;
  int s = align(a, b, wa, wb);
  bool aNeg = a.negative && !isZero(a), bNeg = b.negative && !isZero(b);
  if (aNeg == bNeg) {
    wa.add(wb);
    return fit(wa, s, aNeg);
  }
  if (wa.compare(wb) >= 0) {
    wa.sub(wb);
    return fit(wa, s, aNeg);
  }
  wb.sub(wa);
  return fit(wb, s, bNeg);
}

Decimal sub(const Decimal& a, const Decimal& b) { return add(a, negate(b)); }

Decimal mul(const Decimal& a, const Decimal& b) {
  return fit(mulWide(Wide::of(a), Wide::of(b)), a.scale + b.scale, a.negative != b.negative);
}

Decimal div(const Decimal& a, const Decimal& b) {
  if (isZero(b)) raise(err::DivisionByZero);
  bool negative = a.negative != b.negative;
  int preferred = std::max(0, a.scale - b.scale);
  if (isZero(a)) return make(Wide(), preferred, false);
  // One digit past the deepest scale, so that `fit` always rounds and sees
  // the remainder.
  int e = kMaxScale + 1 - a.scale + b.scale;
  Wide n = Wide::of(a);
  n.mulPow10(e);
  Wide rem;
  Wide q = divMod(n, Wide::of(b), rem);
  Decimal r = fit(q, kMaxScale + 1, negative, !rem.isZero());
  // Drop the trailing zeros the long division made: 1 / 4 is 0.25.
  Wide m = Wide::of(r);
  while (r.scale > preferred) {
    Wide t = m;
    if (t.divSmall(10) != 0) break;
    m = t;
    --r.scale;
  }
  return make(m, r.scale, r.negative);
}

int compare(const Decimal& a, const Decimal& b) {
  bool aNeg = a.negative && !isZero(a), bNeg = b.negative && !isZero(b);
  if (aNeg != bNeg) return aNeg ? -1 : 1;
  Wide wa, wb;
  align(a, b, wa, wb);
  int c = wa.compare(wb);
  return aNeg ? -c : c;
}

Decimal roundToInteger(const Decimal& d) { return round(d, 0); }

Decimal round(const Decimal& d, int digits) {
  digits = std::clamp(digits, 0, kMaxScale);
  if (d.scale <= digits) return d;
  return make(divRoundPow10(Wide::of(d), d.scale - digits, false), digits, d.negative);
}

Decimal truncate(const Decimal& d) {
  if (d.scale == 0) return d;
  Wide rem;
  return make(divMod(Wide::of(d), pow10(d.scale), rem), 0, d.negative);
}

Decimal floor(const Decimal& d) {
  if (d.scale == 0) return d;
  Wide rem;
  Wide q = divMod(Wide::of(d), pow10(d.scale), rem);
  if (d.negative && !rem.isZero()) q.add(Wide::of(1));
  return make(q, 0, d.negative);
}

}  // namespace rt::dec
