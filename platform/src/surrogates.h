// The two halves of a UTF-16 surrogate pair, the code point a pair stands
// for, and back.
#pragma once

#include <cstddef>
#include <string_view>

namespace rt::utf16 {

constexpr bool isHigh(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
constexpr bool isLow(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The code point of the pair `hi`, `lo`.
constexpr char32_t pairCode(char32_t hi, char32_t lo) { return 0x10000 + ((hi - 0xD800) << 10) + (lo - 0xDC00); }

// The code point at s[i], advancing i; a lone surrogate is itself.
inline char32_t nextCodePoint(std::u16string_view s, size_t& i) {
  char32_t c = s[i++];
  if (isHigh(c) && i < s.size() && isLow(s[i])) c = pairCode(c, s[i++]);
  return c;
}

// Writes c at out as one unit or a surrogate pair; returns the units written.
inline size_t putCodePoint(char16_t* out, char32_t c) {
  if (c < 0x10000) {
    out[0] = static_cast<char16_t>(c);
    return 1;
  }
  c -= 0x10000;
  out[0] = static_cast<char16_t>(0xD800 + (c >> 10));
  out[1] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  return 2;
}

}  // namespace rt::utf16
