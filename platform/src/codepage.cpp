// The system code page, over iconv.
#include <errno.h>
#include <iconv.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "rt/text.h"
#include "surrogates.h"

namespace rt {

namespace {

std::optional<CodePage> g_codePage;

// A name the program does not know leaves UTF-8: the program says so
// itself (codePageNamed) where it can.
CodePage codePageFromEnvironment() {
  const char* v = std::getenv("ZUB_CODEPAGE");
  CodePage cp = CodePage::Utf8;
  if (v) codePageNamed(v, cp);
  return cp;
}

// One converter per direction between CP936 and the C library's wide
// characters (UCS-4), opened on first use and kept.  That is one step of
// the C library's: through UTF-16 it takes two, and a character that does
// not convert then costs a conversion again of all that went before it in
// the call, so a text with many of them took minutes.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts from `in` (advanced past what was used) into `out` (advanced
  // past what was written) until either runs out or a sequence does not
  // convert: false then, `in` at that sequence.
  bool run(const char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
    char* src = const_cast<char*>(in);
    const size_t r = ok() ? iconv(cd_, &src, &inLeft, &out, &outLeft) : static_cast<size_t>(-1);
    in = src;
    return r != static_cast<size_t>(-1) || (ok() && errno == E2BIG);
  }

 private:
  iconv_t cd_;
};

Converter& toGbk() {
  static Converter c("CP936", "WCHAR_T");
  return c;
}
Converter& fromGbk() {
  static Converter c("WCHAR_T", "CP936");
  return c;
}

// Conversions go through a block of wide characters at a time.
constexpr size_t kBlock = 4096;

std::u16string fromUtf16(std::string_view bytes, bool littleEndian) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    const auto a = static_cast<unsigned char>(bytes[2 * i]), b = static_cast<unsigned char>(bytes[2 * i + 1]);
    out[i] = static_cast<char16_t>(littleEndian ? a | (b << 8) : (a << 8) | b);
  }
  if (bytes.size() % 2) out.push_back(0xFFFD);
  return out;
}

std::string toUtf16(std::u16string_view s, bool littleEndian) {
  std::string out;
  out.reserve(s.size() * 2);
  for (char16_t u : s) {
    const char lo = static_cast<char>(u & 0xff), hi = static_cast<char>(u >> 8);
    out.push_back(littleEndian ? lo : hi);
    out.push_back(littleEndian ? hi : lo);
  }
  return out;
}

std::string gbkFromUtf16(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  char32_t wide[kBlock];
  char bytes[2 * kBlock];  // no character takes more than two
  for (size_t i = 0; i < s.size();) {
    size_t n = 0;
    while (n < kBlock && i < s.size()) wide[n++] = utf16::nextCodePoint(s, i);
    const char* in = reinterpret_cast<const char*>(wide);
    size_t inLeft = n * sizeof(char32_t);
    while (inLeft > 0) {
      char* o = bytes;
      size_t room = sizeof bytes;
      const bool converted = toGbk().run(in, inLeft, o, room);
      out.append(bytes, static_cast<size_t>(o - bytes));
      if (converted) continue;
      // A character GBK cannot hold: one "?" for the whole character.
      out.push_back('?');
      in += sizeof(char32_t);
      inLeft -= sizeof(char32_t);
    }
  }
  return out;
}

std::u16string utf16FromGbk(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  char32_t wide[kBlock];
  const char* in = s.data();
  size_t inLeft = s.size();
  while (inLeft > 0) {
    char* o = reinterpret_cast<char*>(wide);
    size_t room = sizeof wide;
    const bool converted = fromGbk().run(in, inLeft, o, room);
    for (const char32_t* c = wide; c != reinterpret_cast<char32_t*>(o); ++c) {
      char16_t units[2];
      out.append(units, utf16::putCodePoint(units, *c));
    }
    if (converted) continue;
    out.push_back(0xFFFD);  // a byte that starts no character
    ++in;
    --inLeft;
  }
  return out;
}

}  // namespace

bool codePageNamed(std::string_view name, CodePage& out) {
  std::string s;
  for (char c : name)
    if (c != '-' && c != '_') s.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  if (s.empty() || s == "UTF8" || s == "65001") out = CodePage::Utf8;
  else if (s == "CP936" || s == "936" || s == "GBK") out = CodePage::Cp936;
  else return false;
  return true;
}

CodePage codePage() {
  if (!g_codePage) g_codePage = codePageFromEnvironment();
  return *g_codePage;
}

void setCodePage(CodePage cp) { g_codePage = cp; }

std::string toAnsi(std::u16string_view s) {
  return codePage() == CodePage::Utf8 ? toUtf8(s) : gbkFromUtf16(s);
}

std::u16string fromAnsi(std::string_view s) {
  return codePage() == CodePage::Utf8 ? fromUtf8(s) : utf16FromGbk(s);
}

Encoding ansiEncoding() { return codePage() == CodePage::Utf8 ? Encoding::Utf8 : Encoding::Cp936; }

std::u16string decode(std::string_view bytes, Encoding e) {
  switch (e) {
    case Encoding::Utf8: return fromUtf8(bytes);
    case Encoding::Utf16Le: return fromUtf16(bytes, true);
    case Encoding::Utf16Be: return fromUtf16(bytes, false);
    case Encoding::Cp936: break;
  }
  return utf16FromGbk(bytes);
}

std::string encode(std::u16string_view text, Encoding e) {
  switch (e) {
    case Encoding::Utf8: return toUtf8(text);
    case Encoding::Utf16Le: return toUtf16(text, true);
    case Encoding::Utf16Be: return toUtf16(text, false);
    case Encoding::Cp936: break;
  }
  return gbkFromUtf16(text);
}

uint32_t ansiCode(std::u16string_view ch) {
  if (ch.empty()) return 0;
  size_t len = utf16::isHigh(ch[0]) && ch.size() > 1 && utf16::isLow(ch[1]) ? 2 : 1;
  if (codePage() == CodePage::Utf8) {
    if (len == 2) return utf16::pairCode(ch[0], ch[1]);
    return ch[0];
  }
  std::string b = gbkFromUtf16(ch.substr(0, len));
  if (b.size() == 1) return static_cast<unsigned char>(b[0]);
  return (static_cast<unsigned char>(b[0]) << 8) | static_cast<unsigned char>(b[1]);
}

bool charFromAnsiCode(uint32_t code, std::u16string& out) {
  out.clear();
  if (codePage() == CodePage::Utf8) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (code < 0x10000) {
      out.push_back(static_cast<char16_t>(code));
    } else {
      out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    }
    return true;
  }
  std::string b;
  if (code < 0x100) b.push_back(static_cast<char>(code));
  else if (code <= 0xFFFF) {
    b.push_back(static_cast<char>(code >> 8));
    b.push_back(static_cast<char>(code & 0xff));
  } else {
    return false;
  }
  if (code == 0) {
    out.push_back(0);
    return true;
  }
  out = utf16FromGbk(b);
  return out.size() == 1 && out[0] != 0xFFFD;
}

}  // namespace rt
