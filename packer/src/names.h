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

// Whether a file-system name is text at all: valid UTF-8.
bool isTextName(std::string_view native);

}  // namespace wistel
