#include "rt/text.h"

#include <algorithm>

#include "casefold.h"

namespace rt {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void appendCodePoint(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

// The code point at s[i], advancing i; a lone surrogate is itself.
char32_t nextCodePoint(std::u16string_view s, size_t& i) {
  char32_t c = s[i++];
  if (c >= 0xD800 && c <= 0xDBFF && i < s.size() && s[i] >= 0xDC00 && s[i] <= 0xDFFF)
    c = 0x10000 + ((c - 0xD800) << 10) + (s[i++] - 0xDC00);
  return c;
}

char32_t lookup(const casemap::CaseMap* table, size_t size, char32_t c) {
  const casemap::CaseMap* end = table + size;
  const casemap::CaseMap* it = std::lower_bound(
      table, end, c, [](const casemap::CaseMap& m, char32_t v) { return m.from < v; });
  return (it != end && it->from == c) ? it->to : c;
}

template <class Map>
std::u16string mapText(std::u16string_view s, Map map) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    char16_t u = s[i];
    if (u < 0x80) {
      out.push_back(static_cast<char16_t>(map(u)));
      ++i;
    } else {
      appendCodePoint(out, map(nextCodePoint(s, i)));
    }
  }
  return out;
}

// foldChar of an ASCII character, which names nearly always are, in line.
char32_t foldAscii(char32_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

}  // namespace

std::u16string fromUtf8(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0, n = s.size();
  while (i < n) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    int len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
    char32_t c = len == 4 ? (b & 0x07) : len == 3 ? (b & 0x0F) : (b & 0x1F);
    bool ok = len > 0 && b < 0xF5 && i + len <= n;
    for (int k = 1; ok && k < len; ++k) {
      unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) ok = false;
      else c = (c << 6) | (t & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (ok && ((len == 2 && c < 0x80) || (len == 3 && c < 0x800) || (len == 4 && c < 0x10000) ||
               (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF))
      ok = false;
    if (!ok) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    appendCodePoint(out, c);
    i += static_cast<size_t>(len);
  }
  return out;
}

std::string toUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    char32_t c = nextCodePoint(s, i);
    if (c >= 0xD800 && c <= 0xDFFF) c = kReplacement;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

char32_t foldChar(char32_t c) {
  if (c < 0x80) return foldAscii(c);
  // Full-width forms of ASCII, and the ideographic space.
  if (c >= 0xFF01 && c <= 0xFF5E) return foldChar(c - 0xFF01 + 0x21);
  if (c == 0x3000) return 0x20;
  return lookup(casemap::kFold, casemap::kFoldSize, c);
}

std::u16string foldCase(std::u16string_view s) {
  // The common case, plain ASCII, needs no decoding.
  bool ascii = std::all_of(s.begin(), s.end(), [](char16_t u) { return u < 0x80; });
  if (ascii) {
    std::u16string out(s);
    for (char16_t& u : out)
      if (u >= 'A' && u <= 'Z') u += 32;
    return out;
  }
  return mapText(s, foldChar);
}

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
  return mapText(s, [](char32_t c) -> char32_t {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
    return lookup(casemap::kUpper, casemap::kUpperSize, c);
  });
}

std::u16string toLower(std::u16string_view s) {
  return mapText(s, [](char32_t c) -> char32_t {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return lookup(casemap::kLower, casemap::kLowerSize, c);
  });
}

}  // namespace rt
