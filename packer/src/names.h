// The names a pack holds: one file or folder name each, without any path.
#pragma once

#include <string>
#include <string_view>

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

// A name or path as messages and listings show it: every control character
// (U+0000 to U+001F, U+007F to U+009F) as "\xHH", so a name can neither
// drive a terminal nor hide part of a line.
std::u16string shownName(std::u16string_view name);

// Whether a file-system name is text at all: valid UTF-8.
bool isTextName(std::string_view native);

}  // namespace wistel
