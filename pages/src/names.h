// Page and output names.  "\" and "/" both separate; a name that begins
// with a separator is absolute, every other name (a drive form such as
// "C:" too) is relative, and a folder is put in front of it as it is.
// The file system sees "/" only.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace halvorn {

bool isRelative(std::u16string_view name);

// The name the file system is given; empty for a name it cannot take (a
// zero character), which then names no file rather than raising.
std::string fsPath(std::u16string_view name);

// An output name "object:<ProgID>" (letters without regard to case).
bool isObjectName(std::u16string_view name);
// The ProgID of an object name.
std::u16string_view progIdOf(std::u16string_view objectName);

// The name up to and including its last separator; empty when it has none.
std::u16string folderOf(std::u16string_view name);
// The name after its last separator.
std::u16string fileOf(std::u16string_view name);

// The status of the file (not a folder) of that name; false when there is
// none.
bool fileStatus(std::u16string_view name, struct stat& st);
inline bool isFile(std::u16string_view name) {
  struct stat st {};
  return fileStatus(name, st);
}
// The status of the name itself, a symbolic link not followed; false when
// there is nothing of that name.
bool linkStatus(std::u16string_view name, struct stat& st);
// The status of the folder the name is in (the current folder for a name
// without one); false when there is none.
bool folderStatus(std::u16string_view name, struct stat& st);
// Removes the file, if there is one.
void removeFile(std::u16string_view name);

}  // namespace halvorn
