// Script folders and file names as an Application takes them.  "\" is read
// as "/"; a name that begins with "/" is absolute and used as it is, any
// other name (a drive form such as "C:" too) is taken from the script
// folder, or from the current folder while there is none.
#pragma once

#include <string>
#include <string_view>

namespace appiface {

// A script folder as SptPath keeps it: ending in "/" ("" becomes "/").
std::u16string folderPath(std::u16string_view path);
// The full name of the script `name` run from the folder `sptPath`; a name
// no file can have raises 52.
std::u16string scriptName(std::u16string_view sptPath, std::u16string_view name);
// A full name's folder, up to and including its last separator ("" when it
// has none), and the name after it.
std::u16string folderOf(std::u16string_view fullName);
std::u16string fileOf(std::u16string_view fullName);

}  // namespace appiface
