// The text forms of numbers (CStr and friends), written by our own code so
// that no C library locale can change them.
#include "numtext.h"

#include <charconv>
#include <cmath>

#include "decimal.h"
#include "rt/convert.h"

namespace rt {
namespace numtext {

namespace {

// True when |v| lies exactly halfway between two numbers of `significant`
// digits.  Only then do the runtime's rounding (half away from zero) and
// to_chars' (half to even) differ.
bool isExactTie(double v, int significant) {
  char buf[48];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, significant + 1);
  std::string_view t(buf, res.ptr - buf);
  // Digits significant+1 and +2 must read "50" for a tie to be possible...
  size_t first = static_cast<size_t>(significant) + 1;  // past the leading digit and the point
  if (t.size() < first + 2 || t[first] != '5' || t[first + 1] != '0') return false;
  // ...and then every digit of the exact value after the "5" must be zero.
  char exact[1100];
  res = std::to_chars(exact, exact + sizeof exact, v, std::chars_format::scientific, 800);
  std::string_view x(exact, res.ptr - exact);
  std::string_view tail = x.substr(first + 1, x.find('e') - first - 1);
  return tail.find_first_not_of('0') == std::string_view::npos;
}

}  // namespace

Digits digitsOf(double v, int significant) {
  Digits out;
  out.negative = std::signbit(v) && v != 0;
  if (v == 0) {
    out.digits.push_back('0');
    return out;
  }
  double a = std::fabs(v);
  // to_chars rounds the exact binary value, without locale; a tie goes to the
  // even neighbour, so for a tie take the digits before it and round up.
  bool tie = isExactTie(a, significant);
  char buf[48];
  auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific,
                           tie ? significant : significant - 1);
  std::string_view text(buf, res.ptr - buf);
  size_t e = text.find('e');
  for (char c : text.substr(0, e))
    if (c != '.') out.digits.push_back(c);
  std::string_view ex = text.substr(e + 1);
  if (ex.front() == '+') ex.remove_prefix(1);
  std::from_chars(ex.data(), ex.data() + ex.size(), out.exponent);
  if (tie) {
    out.digits.pop_back();  // the "5"
    size_t i = out.digits.size();
    while (i > 0 && out.digits[i - 1] == '9') out.digits[--i] = '0';
    if (i == 0) {
      out.digits.insert(out.digits.begin(), '1');
      out.digits.pop_back();
      ++out.exponent;
    } else {
      ++out.digits[i - 1];
    }
  }
  while (out.digits.size() > 1 && out.digits.back() == '0') out.digits.pop_back();
  return out;
}

std::u16string general(const Digits& d, int sciFrom, char16_t decimalSep) {
  std::u16string out;
  if (d.negative) out.push_back(u'-');
  const std::string& g = d.digits;
  int n = static_cast<int>(g.size());
  if (d.exponent >= sciFrom || d.exponent < -4) {
    out.push_back(static_cast<char16_t>(g[0]));
    if (n > 1) {
      out.push_back(decimalSep);
      out.append(g.begin() + 1, g.end());
    }
    out += d.exponent < 0 ? u"E-" : u"E+";
    int e = std::abs(d.exponent);
    if (e < 10) out.push_back(u'0');
    for (char c : std::to_string(e)) out.push_back(static_cast<char16_t>(c));
    return out;
  }
  if (d.exponent < 0) {
    out += u'0';
    out.push_back(decimalSep);
    out.append(-d.exponent - 1, u'0');
    out.append(g.begin(), g.end());
    return out;
  }
  int whole = d.exponent + 1;
  for (int i = 0; i < std::max(whole, n); ++i) {
    if (i == whole) out.push_back(decimalSep);
    out.push_back(i < n ? static_cast<char16_t>(g[i]) : u'0');
  }
  return out;
}

}  // namespace numtext

namespace {

// Infinities and NaN cannot come out of checked arithmetic, but a value
// handed in from outside may hold one; these are the runtime's old forms.
std::u16string nonFinite(double v) {
  if (std::isnan(v)) return u"-1.#IND";
  return v < 0 ? u"-1.#INF" : u"1.#INF";
}

}  // namespace

std::u16string formatDouble(double d, const LocaleProfile& loc) {
  if (!std::isfinite(d)) return nonFinite(d);
  return numtext::general(numtext::digitsOf(d, 15), 15, loc.decimalSep);
}

std::u16string formatSingle(float f, const LocaleProfile& loc) {
  if (!std::isfinite(f)) return nonFinite(f);
  return numtext::general(numtext::digitsOf(f, 7), 7, loc.decimalSep);
}

std::u16string formatCurrency(Currency c, const LocaleProfile& loc) {
  return dec::toText(dec::fromCurrency(c), loc.decimalSep);
}

std::u16string formatDecimal(const Decimal& d, const LocaleProfile& loc) {
  return dec::toText(d, loc.decimalSep);
}

}  // namespace rt
