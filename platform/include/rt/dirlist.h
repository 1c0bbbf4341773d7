// Listing a folder in name order, the entries a Dir pattern names, and the
// one Dir search of the process that Dir without arguments continues.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rt/api.h"

namespace rt {

// One entry of a folder: its name as the file system holds it, and as text.
struct FolderEntry {
  std::string native;
  std::u16string name;
};

// Every entry of the open folder `dirFd` ("." and ".." too), sorted by name
// without regard to case (names that differ only in case in a fixed order),
// so that listings do not depend on the file system's order.  `dirFd` stays
// open.  Raises the runtime's error when the folder cannot be read.
RT_API std::vector<FolderEntry> listFolder(int dirFd);

// The names of the entries `pattern` names whose attributes `mask` admits,
// sorted by name without regard to case.  The pattern is a path whose last
// part may hold wildcards; a path ending in a separator names every entry
// of its folder; a last part without wildcards names that one entry, by its
// exact (case-sensitive) name.  Entries with the hidden, system or directory
// bit come only when the mask has that bit; a mask of exactly the volume
// bit asks for a volume label, which has no counterpart here.  A folder
// that does not exist gives no names; a pattern holding a zero character
// raises 52.
RT_API std::vector<std::u16string> matchingNames(std::u16string_view pattern, int32_t mask);

// Dir(pattern[, attributes]): starts the process's search and gives its
// first name; Dir(): the next one.  "" when there is none.
RT_API std::u16string startSearch(std::u16string_view pattern, int32_t mask);
RT_API std::u16string continueSearch();

}  // namespace rt
