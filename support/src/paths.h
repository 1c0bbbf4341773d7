// Paths as scripts give them: both "/" and "\" separate, and "\" becomes "/"
// before the file system sees the name (file names are UTF-8 bytes).
#pragma once

#include <string>
#include <string_view>

namespace jespin {

// The name the file system is given for `path` (rt::fs::nativePath); empty
// (no file) when no file can have it.
std::string fsPath(std::u16string_view path);

// A path that needs no folder in front of it: one that begins with a
// separator, or with a drive letter and ":" as names made on the original
// platform do.
bool isAbsolutePath(std::u16string_view path);

// Position of the last separator of either kind, or npos.
size_t lastSeparator(std::u16string_view path);

bool isFolder(std::u16string_view path);
// Exists and is not a folder.
bool isFile(std::u16string_view path);

}  // namespace jespin
