// The file and folder operations of the Dir library over POSIX.  Every
// failure raises the runtime's error; paths are script text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/variant.h"

namespace engine::fileops {

std::u16string currentFolder();
void changeFolder(std::u16string_view path);
// There is one drive, the root of every path: "" and a path from the root
// name it; a drive letter names a drive that is not there (68).
void changeDrive(std::u16string_view drive);

// The local date and time of the last change.
rt::Date modifiedAt(std::u16string_view path);
// In bytes; a folder has none.  Raises 6 past the range of a Long.
int32_t fileLength(std::u16string_view path);
int32_t attributes(std::u16string_view path);
// Only read-only has a place here (the owner's write permission); hidden,
// system and archive follow from the name and kind of the entry and are
// accepted and left.  The directory and volume bits, and bits beyond these,
// raise 5; a symbolic link raises 75 (its mode is its target's).
void setAttributes(std::u16string_view path, int32_t bits);

// Every function below that writes refuses a path whose folder goes through
// a symbolic link to a folder (75), as Kill and RmDir always did.

// Deletes the files a pattern names: wildcards never take hidden or system
// files, a name without wildcards takes the one file it names; folders and
// links to folders are never taken.  A read-only file is refused (75) and
// ends the deleting, in the order of the names; no match at all raises 53.
void killFiles(std::u16string_view pattern);
void makeFolder(std::u16string_view path);
void removeFolder(std::u16string_view path);
// Renames or moves a file or folder; an existing target is never replaced (58).
void rename(std::u16string_view from, std::u16string_view to);

}  // namespace engine::fileops
