#include "builtins/valtext.h"

#include <cstdint>
#include <string>

#include "rt/convert.h"
#include "rt/error.h"

namespace engine {

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int digitValue(char16_t c, int radix) {
  int v = 99;
  if (isDigit(c)) v = c - u'0';
  else if ((c | 0x20) >= u'a' && (c | 0x20) <= u'f') v = (c | 0x20) - u'a' + 10;
  return v < radix ? v : -1;
}

// "&H" or "&O" digits: Integer-sized values wrap at 16 bits, larger ones at 32.
double radixValue(std::u16string_view digits, int radix) {
  uint64_t v = 0;
  for (char16_t c : digits) {
    int d = digitValue(c, radix);
    if (d < 0) break;
    v = v * radix + d;
    if (v > 0xFFFFFFFF) rt::raise(rt::err::Overflow);
  }
  if (v <= 0xFFFF) return static_cast<int16_t>(static_cast<uint16_t>(v));
  return static_cast<int32_t>(static_cast<uint32_t>(v));
}

}  // namespace

double valOf(std::u16string_view s) {
  std::u16string t;
  for (char16_t c : s)
    if (c != u' ' && c != u'\t' && c != u'\n') t.push_back(c);
  if (t.size() >= 2 && t[0] == u'&') {
    char16_t kind = t[1] | 0x20;
    if (kind == u'h') return radixValue(std::u16string_view(t).substr(2), 16);
    if (kind == u'o') return radixValue(std::u16string_view(t).substr(2), 8);
    return 0;
  }
  // The longest prefix of the plain form: sign, digits, point, digits, exponent.
  size_t i = 0, digits = 0;
  if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ++i;
  for (; i < t.size() && isDigit(t[i]); ++i) ++digits;
  if (i < t.size() && t[i] == u'.')
    for (++i; i < t.size() && isDigit(t[i]); ++i) ++digits;
  if (digits == 0) return 0;
  std::u16string plain = t.substr(0, i);
  if (i < t.size() && ((t[i] | 0x20) == u'e' || (t[i] | 0x20) == u'd')) {
    size_t j = i + 1;
    if (j < t.size() && (t[j] == u'+' || t[j] == u'-')) ++j;
    if (j < t.size() && isDigit(t[j])) {
      while (j < t.size() && isDigit(t[j])) ++j;
      plain += u'E';
      plain.append(t, i + 1, j - i - 1);
    }
  }
  // The plain form reads the same in every profile's rules but the
  // separators, so it is read with the full stop's.
  rt::Variant number;
  bool overflow = false;
  bool read = rt::parseNumber(plain, number, overflow, rt::profileOf(rt::LocaleId::EnglishUS));
  if (overflow) rt::raise(rt::err::Overflow);
  if (!read) rt::raise(rt::err::TypeMismatch);
  return rt::toDouble(number);
}

}  // namespace engine
