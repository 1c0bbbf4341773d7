#include "codepagetext.h"

#include <array>

#include "rt/error.h"
#include "rt/text.h"

namespace nubrel {

namespace {

bool isSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDFFF; }
bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The split of rt::fromUtf8: a well-formed sequence (no overlong form, no
// surrogate, nothing past U+10FFFF) is one character, anything else one
// replacement unit per byte.
CharExtent nextUtf8(std::string_view a) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(a[i]); };
  unsigned char b = at(0);
  size_t len = b < 0x80                 ? 1
               : b >= 0xC2 && b <= 0xDF ? 2
               : b >= 0xE0 && b <= 0xEF ? 3
               : b >= 0xF0 && b <= 0xF4 ? 4
                                        : 0;
  if (len <= 1) return {1, 1};
  for (size_t k = 1; k < len && k < a.size(); ++k)
    if (!isContinuation(at(k))) return {1, 1};
  if (a.size() < len) return {1, 1, true};
  unsigned char second = at(1);
  if ((b == 0xE0 && second < 0xA0) || (b == 0xED && second > 0x9F) ||
      (b == 0xF0 && second < 0x90) || (b == 0xF4 && second > 0x8F))
    return {1, 1};
  return {len, len == 4 ? size_t{2} : size_t{1}};
}

// CP936: a lead byte 0x81..0xFE with a trail byte in range is one character.
CharExtent nextCp936(std::string_view a) {
  auto lead = static_cast<unsigned char>(a[0]);
  if (lead < 0x81 || lead > 0xFE) return {1, 1};
  if (a.size() < 2) return {1, 1, true};
  auto trail = static_cast<unsigned char>(a[1]);
  bool inRange = trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
  return {inRange ? size_t{2} : size_t{1}, 1};
}

// The 256 characters that stand for the bytes, one table per code page.
using ByteTable = std::array<char16_t, 256>;

ByteTable buildByteTable() {
  ByteTable t{};
  for (uint32_t b = 0; b < 256; ++b) {
    std::u16string ch;
    bool own = rt::charFromAnsiCode(b, ch) && ch.size() == 1 && rt::ansiCode(ch) == b;
    t[b] = own ? ch[0] : static_cast<char16_t>(b);
  }
  return t;
}

const ByteTable& byteTable() {
  static const ByteTable utf8 = [] {
    ByteTable t{};
    for (uint32_t b = 0; b < 256; ++b) t[b] = static_cast<char16_t>(b);
    return t;
  }();
  if (rt::codePage() == rt::CodePage::Utf8) return utf8;
  static const ByteTable cp936 = buildByteTable();
  return cp936;
}

}  // namespace

std::string encodeUnits(std::u16string_view s) {
  // CP936 holds no character outside the basic plane; the converter would
  // write one "?" for a whole surrogate pair, so each half goes as its own.
  if (rt::codePage() == rt::CodePage::Cp936) {
    std::u16string units(s);
    for (char16_t& u : units)
      if (isSurrogate(u)) u = u'?';
    return rt::toAnsi(units);
  }
  return rt::toAnsi(s);
}

CharExtent nextChar(std::string_view ahead) {
  return rt::codePage() == rt::CodePage::Utf8 ? nextUtf8(ahead) : nextCp936(ahead);
}

std::u16string decodeBytes(std::string_view bytes) { return rt::fromAnsi(bytes); }

char16_t charOfByte(uint8_t b) { return byteTable()[b]; }

uint8_t byteOfChar(std::u16string_view ch) {
  if (ch.empty()) rt::raise(rt::err::PastEndOfFile);
  char16_t c = ch[0];
  // A stand-in for a byte the code page has no character for.
  if (c >= 0x80 && c <= 0xFF && byteTable()[c] == c) return static_cast<uint8_t>(c);
  uint32_t code = rt::ansiCode(ch);
  if (code > 0xFF) rt::raise(rt::err::Overflow);
  return static_cast<uint8_t>(code);
}

}  // namespace nubrel
