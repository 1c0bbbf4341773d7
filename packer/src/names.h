// The names a pack holds: one file or folder name each, without any path.
#pragma once

#include <string>
#include <string_view>

#include "rt/text.h"

namespace wistel {

// Why a name read from a pack cannot be used in a folder ("" when it can):
// empty, "." or "..", or holding "/", "\" or a zero character.
std::u16string_view unusableName(std::u16string_view name);

// Whether a text survives the trip into the pack and back: the code page
// holds every character of it (others would be stored as "?").
bool storable(std::u16string_view text);

// The folder a pack is made from or unpacked into, as messages show it:
// "\" as "/", ending in "/".  An empty path is refused (52): it would name
// the root of the file system.
std::u16string folderPath(std::u16string_view dirPath);

// Bytes in the encoding `e` as text, each byte that is no part of a
// character kept as the unit U+DC00 + its value: a lone surrogate, which no
// decoded text holds, so that shownName tells such bytes apart where
// decoding would make them all U+FFFD.  Written out, the unit is U+FFFD
// again.
std::u16string textOfBytes(std::string_view bytes, rt::Encoding e);

// A name or path as messages and listings show it, so that a name can
// neither drive a terminal nor hide part of a line, and two names never look
// alike: every control character of one byte (U+0000 to U+001F, U+007F) and
// every byte textOfBytes kept as "\xHH", the controls U+0080 to U+009F and
// the bidirectional controls (U+202A to U+202E, U+2066 to U+2069) as
// "\uHHHH".
std::u16string shownName(std::u16string_view name);

// Whether a file-system name is text at all: valid UTF-8.
bool isTextName(std::string_view native);

}  // namespace wistel
