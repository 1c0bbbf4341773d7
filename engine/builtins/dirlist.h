// Listing the entries a Dir pattern names, and the one Dir search of the
// process that Dir without arguments continues.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// The names of the entries `pattern` names whose attributes `mask` admits,
// sorted by name without regard to case.  The pattern is a path whose last
// part may hold wildcards; a path ending in a separator names every entry
// of its folder; a last part without wildcards names that one entry, by its
// exact (case-sensitive) name.  Entries with the hidden, system or directory
// bit come only when the mask has that bit; a mask of exactly the volume
// bit asks for a volume label, which has no counterpart here.  A folder
// that does not exist gives no names.
std::vector<std::u16string> matchingNames(std::u16string_view pattern, int32_t mask);

// Dir(pattern[, attributes]): starts the process's search and gives its
// first name; Dir(): the next one.  "" when there is none.
std::u16string startSearch(std::u16string_view pattern, int32_t mask);
std::u16string continueSearch();

}  // namespace engine
