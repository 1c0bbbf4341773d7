// Text: UTF-16 in memory, conversions to UTF-8 and the system code page, and
// the one case-blind comparison of the system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "rt/api.h"

namespace rt {

// UTF-8 <-> UTF-16.  Invalid input never fails: bad UTF-8 bytes become U+FFFD,
// lone surrogates are written as U+FFFD.
RT_API std::u16string fromUtf8(std::string_view s);
RT_API std::string toUtf8(std::u16string_view s);
// toUtf8 into `out`, which has room for 3 * s.size() bytes (no unit makes
// more); returns the bytes written.
RT_API size_t writeUtf8(std::u16string_view s, char* out);

// The system code page ("ANSI").  One process-wide setting read once from the
// environment variable ZUB_CODEPAGE: "UTF-8" (the default) or "CP936" (GBK,
// for files made on the original platform).  Tests may set it explicitly.
enum class CodePage { Utf8, Cp936 };
RT_API CodePage codePage();
RT_API void setCodePage(CodePage cp);
// The code page a value of ZUB_CODEPAGE names ("UTF-8" or empty, "CP936",
// "936", "GBK"; case, "-" and "_" do not matter); false for any other.
RT_API bool codePageNamed(std::string_view name, CodePage& out);

// Conversions through the code page.  Characters the code page cannot hold
// become "?"; bytes that do not decode become U+FFFD.
RT_API std::string toAnsi(std::u16string_view s);
RT_API std::u16string fromAnsi(std::string_view s);

// Text in a named encoding, whatever the system code page is (files that
// keep the encoding they were read in).  Decoding never fails: bytes that do
// not decode become U+FFFD (an odd last byte of UTF-16 too); encoding writes
// what CP936 cannot hold as "?" and, in UTF-8, a lone surrogate as U+FFFD.
// UTF-16 keeps every unit.  Whether a text survives is seen by converting
// back and comparing.
enum class Encoding { Utf8, Utf16Le, Utf16Be, Cp936 };
// The system code page as an encoding.
RT_API Encoding ansiEncoding();
RT_API std::u16string decode(std::string_view bytes, Encoding e);
RT_API std::string encode(std::u16string_view text, Encoding e);

// The code of one character in the code page, as Asc sees it: under UTF-8 the
// Unicode code point (a surrogate pair counts as one), under CP936 the one- or
// two-byte code as an unsigned number.  And back, as Chr builds it; false when
// the code names no character.
RT_API uint32_t ansiCode(std::u16string_view ch);
RT_API bool charFromAnsiCode(uint32_t code, std::u16string& out);

// Case folding: simple Unicode case folding plus full-width ASCII forms to
// their half-width letters and digits.  ASCII takes a fast path.
RT_API char32_t foldChar(char32_t c);
RT_API std::u16string foldCase(std::u16string_view s);
// Case-blind ordering and equality of two texts (by folded code units).
RT_API int compareNoCase(std::u16string_view a, std::u16string_view b);
RT_API bool equalsNoCase(std::u16string_view a, std::u16string_view b);
// A hash that agrees with equalsNoCase.
RT_API size_t hashNoCase(std::u16string_view s);

// Upper and lower case of a whole text (UCase, LCase): simple mappings.
RT_API std::u16string toUpper(std::u16string_view s);
RT_API std::u16string toLower(std::u16string_view s);

// Short-hands for literals in ASCII.
inline std::u16string ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

}  // namespace rt
