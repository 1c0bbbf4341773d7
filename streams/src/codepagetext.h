// Text in the system code page, counted in UTF-16 units.
//
// Stored text is a count of UTF-16 units followed by the text in the code
// page.  The writer makes every unit come back as exactly one unit (a unit
// the code page cannot hold becomes one "?"), and the reader decodes exactly
// that many units, so a count always leads the reader to the next value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace nubrel {

// The code-page bytes of `s`, which decode to exactly s.size() units.
std::string encodeUnits(std::u16string_view s);

// The bytes and UTF-16 units of the character that starts `ahead` (up to
// four bytes of the data, fewer at its end): the same split the code page's
// decoder makes, a byte that starts no character counting as one unit.
// `cut` tells that the data ends inside a character that was well-formed so far.
struct CharExtent {
  size_t bytes;
  size_t units;
  bool cut = false;
};
CharExtent nextChar(std::string_view ahead);

// Code-page bytes as UTF-16.
std::u16string decodeBytes(std::string_view bytes);

// Reads the bytes of exactly `units` units from `src` into `bytes`, undecoded.
// `src` shows up to k bytes ahead by peek(k) and drops them by consume(k).
// False when the data ends first (`bytes` then holds what there was).
template <class Source>
bool readUnitBytes(Source& src, size_t units, std::string& bytes) {
  for (size_t got = 0; got < units;) {
    std::string_view ahead = src.peek(4);
    if (ahead.empty()) return false;
    CharExtent c = nextChar(ahead);
    if (c.cut) return false;
    bytes.append(ahead.substr(0, c.bytes));
    src.consume(c.bytes);
    got += c.units;
  }
  return true;
}

// The same units decoded into `out`.
template <class Source>
bool readUnits(Source& src, size_t units, std::u16string& out) {
  std::string bytes;
  bool complete = readUnitBytes(src, units, bytes);
  out = decodeBytes(bytes);
  return complete;
}

// The character standing for a byte in the text coding: the code page's own
// character with that code where there is one, otherwise the character
// U+0080..U+00FF of the byte's value, so that every byte survives.
char16_t charOfByte(uint8_t b);
// The byte a character stands for: raises 62 for no character and overflow
// for a character whose code lies beyond 255.
uint8_t byteOfChar(std::u16string_view ch);

}  // namespace nubrel
