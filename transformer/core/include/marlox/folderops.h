// The program's folder helpers and its error box.  Paths are script text:
// "\" is read as "/".  Copying and removing never follow a symbolic link to
// a folder, and names starting with "." are neither copied nor removed.
#pragma once

#include <string>
#include <string_view>

#include "marlox/messages.h"
#include "marlox/paths.h"

namespace marlox {

// `path` as a folder: "/" separators and one "/" at its end.
inline std::u16string folderWithBackslash(std::u16string_view path) { return addBackslash(path); }

// Makes every missing folder along `path`; true when they all exist
// afterwards (an empty path gives true).  No message.
bool makePath(std::u16string_view path);

// Copies the folder tree `src` into `dst`, making `dst` as needed and
// replacing files of the same name.  A target that is the source or lies
// inside it (after "..", "." and links are resolved), or that cannot be
// made, is refused with the error box "目标路径[…]不能被建立。"; a file
// that cannot be copied ends that folder's level with the error box, and
// the level above goes on.  False when this level failed.
bool dirCopy(std::u16string_view src, std::u16string_view dst);

// Removes the folder tree `path`.  Refuses "", "/" and the user's home
// folder; a link is removed as the link.  A read-only file, a name starting
// with ".", or anything that cannot be removed makes it false (what was
// removed stays removed).  No message.
bool removeDir(std::u16string_view path);

// The error box: a beep, then the critical box with the program's text
// before `message`, titled `title` or "Pelmora文本变换器 运行错误".
void showErr(std::u16string_view message, std::u16string_view title = {});

inline std::u16string allFilesFilter() { return std::u16string(msg::kAllFilesFilter); }

}  // namespace marlox
