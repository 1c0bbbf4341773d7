// StrConv: case, width, kana and code-page conversions of a text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

// The conversions, added together in `conversion`.
namespace conv {
constexpr int32_t Upper = 1, Lower = 2, Proper = 3;  // Proper: both case bits
constexpr int32_t Wide = 4, Narrow = 8;
constexpr int32_t Katakana = 16, Hiragana = 32;
constexpr int32_t Unicode = 64, FromUnicode = 128;
}  // namespace conv

// `s` converted: Unicode first (the text's units taken as code-page bytes,
// low byte first, and decoded), then case, width and kana, FromUnicode last
// (the text encoded in the code page, two bytes to a unit; an odd last byte
// stands alone in its unit).  Contradictory conversions (wide and narrow,
// katakana and hiragana, to and from Unicode) and unknown bits raise 5.
std::u16string convertText(std::u16string_view s, int32_t conversion);

}  // namespace engine
