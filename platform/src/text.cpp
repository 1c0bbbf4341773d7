#include "rt/text.h"

#include <algorithm>
#include <cstring>

#include "casefold.h"
#include "surrogates.h"

namespace rt {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

using utf16::nextCodePoint;
using utf16::putCodePoint;

// Eight bytes, all ASCII, read as one machine word.
bool eightAscii(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return (word & 0x8080808080808080ull) == 0;
}

// Eight ASCII bytes as eight units (apart, so the compiler may use vectors).
void widenEight(char16_t* __restrict out, const char* __restrict in) {
  for (int k = 0; k < 8; ++k) out[k] = static_cast<unsigned char>(in[k]);
}

// Four units, all ASCII.
bool fourAscii(const char16_t* p) {
  return ((p[0] | p[1] | p[2] | p[3]) & 0xFF80) == 0;
}

// Four ASCII units as four bytes.
void narrowFour(char* __restrict out, const char16_t* __restrict in) {
  for (int k = 0; k < 4; ++k) out[k] = static_cast<char>(in[k]);
}

// The UTF-8 sequence starting at s[i] (its lead byte at least 0x80), as one
// code point; 0 bytes used when it is no character.
char32_t decodeSequence(std::string_view s, size_t i, size_t& used) {
  unsigned char b = static_cast<unsigned char>(s[i]);
  used = 0;
  size_t len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
  if (len == 0 || b >= 0xF5 || i + len > s.size()) return kReplacement;
  char32_t c = len == 4 ? (b & 0x07) : len == 3 ? (b & 0x0F) : (b & 0x1F);
  for (size_t k = 1; k < len; ++k) {
    unsigned char t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (t & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  if ((len == 2 && c < 0x80) || (len == 3 && c < 0x800) || (len == 4 && c < 0x10000) ||
      (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
    return kReplacement;
  used = len;
  return c;
}

// The bytes toUtf8 makes of s.
size_t utf8Size(std::u16string_view s) {
  size_t n = s.size();
  for (size_t i = 0; i < s.size(); ++i) {
    while (i + 4 <= s.size() && fourAscii(s.data() + i)) i += 4;
    if (i == s.size()) break;
    char16_t u = s[i];
    if (u < 0x80) continue;
    if (u < 0x800) {
      n += 1;
    } else if (utf16::isHigh(u) && i + 1 < s.size() && utf16::isLow(s[i + 1])) {
      n += 2;  // four bytes for the pair's two units
      ++i;
    } else {
      n += 2;  // three bytes, U+FFFD for a lone surrogate too
    }
  }
  return n;
}

// One table of case mappings.  A character of a 256-character block of the
// BMP that the table has no entry in (the ideographs, say) maps to itself
// without a search.
class CaseTable {
 public:
  CaseTable(const casemap::CaseMap* table, size_t size) : begin_(table), end_(table + size) {
    for (const casemap::CaseMap* m = begin_; m != end_; ++m)
      if (m->from < 0x10000) blocks_[m->from >> 14] |= uint64_t{1} << ((m->from >> 8) & 63);
  }
  char32_t operator()(char32_t c) const {
    if (c < 0x10000 && !(blocks_[c >> 14] & (uint64_t{1} << ((c >> 8) & 63)))) return c;
    const casemap::CaseMap* it = std::lower_bound(
        begin_, end_, c, [](const casemap::CaseMap& m, char32_t v) { return m.from < v; });
    return (it != end_ && it->from == c) ? it->to : c;
  }

 private:
  const casemap::CaseMap* begin_;
  const casemap::CaseMap* end_;
  uint64_t blocks_[4] = {};  // a bit for each block with entries
};

// Made on first use, so that other libraries' start-up code may fold too.
const CaseTable& foldTable() {
  static const CaseTable table(casemap::kFold, casemap::kFoldSize);
  return table;
}
const CaseTable& upperTable() {
  static const CaseTable table(casemap::kUpper, casemap::kUpperSize);
  return table;
}
const CaseTable& lowerTable() {
  static const CaseTable table(casemap::kLower, casemap::kLowerSize);
  return table;
}

// A copy of s with every character mapped in place: ASCII units in line by
// map.ascii, the others by map.other.
// Four ASCII units at once: `from` to `to` ('a' to 'z', or 'A' to 'Z')
// moved by `by` in each 16-bit lane.  No lane carries into the next: every
// lane is below 0x80 and gains less than 0x80.
inline uint64_t shiftRange(uint64_t w, char16_t from, char16_t to, bool down) {
  constexpr uint64_t kLanes = 0x0001000100010001ull;
  const uint64_t atLeast = w + (0x80 - from) * kLanes;   // lane >= 0x80 where w >= from
  const uint64_t above = w + (0x80 - to - 1) * kLanes;   // lane >= 0x80 where w > to
  const uint64_t in = (atLeast & ~above) & (0x0080 * kLanes);
  return down ? w - (in >> 2) : w + (in >> 2);  // 0x80 >> 2 is the 0x20 between the cases
}

template <class Map>
std::u16string mapText(std::u16string_view s, Map map) {
  std::u16string out(s);
  char16_t* p = out.data();
  size_t n = out.size();
  for (size_t i = 0; i < n;) {
    if constexpr (requires { map.word(uint64_t{}); }) {
      uint64_t w;
      while (i + 4 <= n && (std::memcpy(&w, p + i, 8), (w & 0xFF80FF80FF80FF80ull) == 0)) {
        w = map.word(w);
        std::memcpy(p + i, &w, 8);
        i += 4;
      }
      if (i >= n) break;
    }
    if (p[i] < 0x80) {
      p[i] = static_cast<char16_t>(map.ascii(p[i]));
      ++i;
      continue;
    }
    const size_t at = i;
    const char32_t c = nextCodePoint(std::u16string_view(p, n), i);
    const char32_t m = map.other(c);
    if (m == c) continue;
    char16_t units[2];
    const size_t len = putCodePoint(units, m);
    if (len == i - at) {
      std::copy(units, units + len, p + at);
    } else {  // no simple mapping leaves its plane today, but a table could
      out.replace(at, i - at, units, len);
      p = out.data();
      n = out.size();
      i = at + len;
    }
  }
  return out;
}

// foldChar of an ASCII character, which names nearly always are, in line.
char32_t foldAscii(char32_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

// The three mappings, as types, so that mapText inlines them.
struct Fold {
  char32_t ascii(char32_t c) const { return foldAscii(c); }
  uint64_t word(uint64_t w) const { return shiftRange(w, u'A', u'Z', false); }
  char32_t other(char32_t c) const { return foldChar(c); }
};
struct Upper {
  char32_t ascii(char32_t c) const { return c >= 'a' && c <= 'z' ? c - 32 : c; }
  uint64_t word(uint64_t w) const { return shiftRange(w, u'a', u'z', true); }
  char32_t other(char32_t c) const { return upperTable()(c); }
};
struct Lower {
  char32_t ascii(char32_t c) const { return foldAscii(c); }
  uint64_t word(uint64_t w) const { return shiftRange(w, u'A', u'Z', false); }
  char32_t other(char32_t c) const { return lowerTable()(c); }
};

}  // namespace

std::u16string fromUtf8(std::string_view s) {
  // No byte makes more than one unit, except a four-byte sequence's two.
  std::u16string out(s.size(), u'\0');
  char16_t* o = out.data();
  size_t i = 0, n = s.size();
  while (i < n) {
    while (i + 8 <= n && eightAscii(s.data() + i)) {
      widenEight(o, s.data() + i);
      o += 8;
      i += 8;
    }
    if (i == n) break;
    unsigned char b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      *o++ = b;
      ++i;
      continue;
    }
    size_t used = 0;
    char32_t c = decodeSequence(s, i, used);
    o += putCodePoint(o, c);
    i += used ? used : 1;  // a bad byte is replaced alone
  }
  out.resize(static_cast<size_t>(o - out.data()));
  // Text that is mostly not ASCII would otherwise keep up to thrice its room.
  if (out.size() > 256 && out.size() * 2 < out.capacity()) out.shrink_to_fit();
  return out;
}

size_t writeUtf8(std::u16string_view s, char* out) {
  char* o = out;
  size_t i = 0, n = s.size();
  while (i < n) {
    while (i + 4 <= n && fourAscii(s.data() + i)) {
      narrowFour(o, s.data() + i);
      o += 4;
      i += 4;
    }
    if (i == n) break;
    char16_t u = s[i];
    if (u < 0x80) {
      *o++ = static_cast<char>(u);
      ++i;
      continue;
    }
    char32_t c = nextCodePoint(s, i);
    if (c >= 0xD800 && c <= 0xDFFF) c = kReplacement;
    if (c < 0x800) {
      o[0] = static_cast<char>(0xC0 | (c >> 6));
      o[1] = static_cast<char>(0x80 | (c & 0x3F));
      o += 2;
    } else if (c < 0x10000) {
      o[0] = static_cast<char>(0xE0 | (c >> 12));
      o[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      o[2] = static_cast<char>(0x80 | (c & 0x3F));
      o += 3;
    } else {
      o[0] = static_cast<char>(0xF0 | (c >> 18));
      o[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      o[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      o[3] = static_cast<char>(0x80 | (c & 0x3F));
      o += 4;
    }
  }
  return static_cast<size_t>(o - out);
}

std::string toUtf8(std::u16string_view s) {
  std::string out(utf8Size(s), '\0');
  writeUtf8(s, out.data());
  return out;
}

char32_t foldChar(char32_t c) {
  if (c < 0x80) return foldAscii(c);
  // Full-width forms of ASCII, and the ideographic space.
  if (c >= 0xFF01 && c <= 0xFF5E) return foldChar(c - 0xFF01 + 0x21);
  if (c == 0x3000) return 0x20;
  return foldTable()(c);
}

std::u16string foldCase(std::u16string_view s) { return mapText(s, Fold{}); }

int compareNoCase(std::u16string_view a, std::u16string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    char32_t x = a[i] < 0x80 ? foldAscii(a[i++]) : foldChar(nextCodePoint(a, i));
    char32_t y = b[j] < 0x80 ? foldAscii(b[j++]) : foldChar(nextCodePoint(b, j));
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool equalsNoCase(std::u16string_view a, std::u16string_view b) {
  // Simple folding keeps each character's length in code units.
  return a.size() == b.size() && compareNoCase(a, b) == 0;
}

size_t hashNoCase(std::u16string_view s) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (size_t i = 0; i < s.size();) {
    char32_t c = s[i] < 0x80 ? foldAscii(s[i++]) : foldChar(nextCodePoint(s, i));
    h = (h ^ c) * 0x100000001b3ull;
  }
  return static_cast<size_t>(h);
}

std::u16string toUpper(std::u16string_view s) {
  return mapText(s, Upper{});
}

std::u16string toLower(std::u16string_view s) {
  return mapText(s, Lower{});
}

}  // namespace rt
