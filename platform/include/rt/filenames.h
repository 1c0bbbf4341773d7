// File names as text: bytes that are no text kept apart, so that such a
// name still reaches its file, and names shown so that none can drive a
// terminal, hide part of a line or pass for another.
#pragma once

#include <string>
#include <string_view>

#include "rt/api.h"
#include "rt/text.h"

namespace rt::fs {

// Bytes in the encoding `e` as text, each byte that is no part of a
// character kept as the unit U+DC00 + its value: a lone surrogate, which no
// decoded text holds.  Written out as text (toUtf8, encode), the unit is
// U+FFFD, as decoding would have made it; as a file name (nativePath,
// bytesOfName) it is its byte again.
RT_API std::u16string textOfBytes(std::string_view bytes, Encoding e = Encoding::Utf8);

// The file-system bytes of a name: UTF-8, each byte textOfBytes kept as
// that byte.  The bytes textOfBytes was given in UTF-8 come back unchanged.
RT_API std::string bytesOfName(std::u16string_view name);

// A name or path as messages and listings show it: every control character
// of one byte (U+0000 to U+001F, U+007F) and every byte textOfBytes kept as
// "\xHH"; every other character of the Unicode categories Cc, Cf, Zl and Zp
// (the controls U+0080 to U+009F, the invisible format characters such as
// U+200B and U+FEFF, the bidirectional controls, the line and paragraph
// separators) as "\uHHHH", or "\UHHHHHHHH" above U+FFFF.
RT_API std::u16string shownName(std::u16string_view name);

}  // namespace rt::fs
