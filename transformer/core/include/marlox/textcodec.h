// Bytes in a named character set (as a web server names it) to text.
#pragma once

#include <string>
#include <string_view>

namespace marlox {

// The charset parameter of a Content-Type value ("text/html; charset=gbk"
// gives "gbk"), without quotes; empty when there is none.
std::string charsetOf(std::string_view contentType);

// `bytes` decoded from `charset` (UTF-8 when empty); false when the
// charset is unknown.  Bytes that are not valid in it become U+FFFD.
bool decodeText(std::string_view bytes, std::string_view charset, std::u16string& text);

}  // namespace marlox
