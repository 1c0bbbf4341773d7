// Reading numbers from text as the runtime reads them, in the locale profile.
#include "numparse.h"

#include <charconv>
#include <cmath>

#include "rt/convert.h"

namespace rt {
namespace numparse {
namespace {

bool isBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0 || c == 0x3000;
}
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The length of the currency symbol at `i`, or 0.
size_t currencyAt(std::u16string_view t, size_t i, const LocaleProfile& loc) {
  std::u16string_view rest = t.substr(i);
  if (rest.starts_with(loc.currencySymbol)) return loc.currencySymbol.size();
  // The full-width yen sign is what Chinese input methods type.
  if (loc.id == LocaleId::ChinesePRC && rest.starts_with(u"￥")) return 1;
  return 0;
}

// "&H1F" or "&O17"; `t` is trimmed and starts with "&".
bool scanRadix(std::u16string_view t, NumberText& out) {
  if (t.size() < 3) return false;
  int base = 0;
  if (t[1] == u'H' || t[1] == u'h') base = 16;
  else if (t[1] == u'O' || t[1] == u'o') base = 8;
  else return false;
  out.radix = true;
  for (char16_t c : t.substr(2)) {
    int v;
    if (isDigit(c)) v = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') v = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F') v = c - u'A' + 10;
    else return false;
    if (v >= base) return false;
    if (!out.radixOverflow) {
      out.radixValue = out.radixValue * base + v;
      out.radixOverflow = out.radixValue > 0xFFFFFFFFu;
    }
  }
  return true;
}

}  // namespace

bool scan(std::u16string_view s, const LocaleProfile& loc, NumberText& out) {
  out = NumberText();
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  if (s.empty()) return false;
  if (s[0] == u'&') return scanRadix(s, out);

  size_t i = 0;
  int sign = 0;
  bool paren = false, closed = false, currency = false;
  auto skipBlanks = [&] {
    while (i < s.size() && isBlank(s[i])) ++i;
  };
  // Before the digits: one sign or one "(", and one currency symbol.
  for (;;) {
    skipBlanks();
    if (i == s.size()) return false;
    if ((s[i] == u'+' || s[i] == u'-') && !sign && !paren) {
      sign = s[i++] == u'-' ? -1 : 1;
    } else if (s[i] == u'(' && !sign && !paren) {
      paren = true;
      ++i;
    } else if (size_t n = currency ? 0 : currencyAt(s, i, loc)) {
      currency = true;
      i += n;
    } else {
      break;
    }
  }
  std::u16string whole, frac;
  while (i < s.size()) {
    if (isDigit(s[i])) whole.push_back(s[i++]);
    else if (s[i] == loc.groupSep && !whole.empty() && i + 1 < s.size() && isDigit(s[i + 1])) ++i;
    else break;
  }
  if (i < s.size() && s[i] == loc.decimalSep) {
    ++i;
    while (i < s.size() && isDigit(s[i])) frac.push_back(s[i++]);
  }
  if (whole.empty() && frac.empty()) return false;
  int64_t exponent = 0;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    bool negExp = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negExp = s[i++] == u'-';
    if (i == s.size() || !isDigit(s[i])) return false;
    for (; i < s.size() && isDigit(s[i]); ++i)
      exponent = std::min<int64_t>(exponent * 10 + (s[i] - u'0'), 1000000000);
    if (negExp) exponent = -exponent;
  }
  // After the digits: the sign if none came before, ")" closing "(", and the
  // currency symbol if none came before.
  for (;;) {
    skipBlanks();
    if (i == s.size()) break;
    if ((s[i] == u'+' || s[i] == u'-') && !sign && !paren) {
      sign = s[i++] == u'-' ? -1 : 1;
    } else if (s[i] == u')' && paren && !closed) {
      closed = true;
      ++i;
    } else if (size_t n = currency ? 0 : currencyAt(s, i, loc)) {
      currency = true;
      i += n;
    } else {
      return false;
    }
  }
  if (paren != closed) return false;

  out.negative = paren || sign < 0;
  size_t first = whole.find_first_not_of(u'0');
  if (first != std::u16string::npos) {
    out.magnitude = static_cast<int64_t>(whole.size() - first) - 1 + exponent;
  } else if ((first = frac.find_first_not_of(u'0')) != std::u16string::npos) {
    out.magnitude = -static_cast<int64_t>(first) - 1 + exponent;
  } else {
    out.zero = true;
  }
  if (out.negative) out.plain.push_back(u'-');
  out.plain += whole.empty() ? u"0" : whole;
  if (!frac.empty()) out.plain += u'.' + frac;
  if (exponent) {
    out.plain.push_back(u'e');
    for (char c : std::to_string(exponent)) out.plain.push_back(static_cast<char16_t>(c));
  }
  return true;
}

bool toDouble(const NumberText& n, double& out) {
  std::string text(n.plain.begin(), n.plain.end());
  double v = 0;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec == std::errc::result_out_of_range) {
    if (n.magnitude > 0) return false;
    v = n.negative ? -0.0 : 0.0;
  } else if (ec != std::errc() || !std::isfinite(v)) {
    return false;
  }
  out = v;
  return true;
}

}  // namespace numparse

// A number out of range gives no value: false, with `overflow` set.
bool parseNumber(std::u16string_view s, Variant& out, bool& overflow, const LocaleProfile& loc) {
  overflow = false;
  numparse::NumberText n;
  if (!numparse::scan(s, loc, n)) return false;
  if (n.radix) {
    // The width of the digits decides the type, as for literals: "&HFFFF"
    // is the Integer -1, "&H10000" a Long.
    if (n.radixOverflow) {
      overflow = true;
      return false;
    }
    if (n.radixValue <= 0xFFFF) out = Variant(static_cast<int16_t>(static_cast<uint16_t>(n.radixValue)));
    else out = Variant(static_cast<int32_t>(static_cast<uint32_t>(n.radixValue)));
    return true;
  }
  double d;
  if (!numparse::toDouble(n, d)) {
    overflow = true;
    return false;
  }
  out = Variant(d);
  return true;
}

}  // namespace rt
