// The names a pack holds: one file or folder name each, without any path.
#pragma once

#include <string>
#include <string_view>

#include "rt/filenames.h"
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

// Names read from bytes, and names as messages and listings show them.
using rt::fs::shownName;
using rt::fs::textOfBytes;

// Whether a file-system name is text at all: valid UTF-8.
bool isTextName(std::string_view native);

}  // namespace wistel
