// The two halves of a UTF-16 surrogate pair, and the code point a pair
// stands for.
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

}  // namespace rt::utf16
