// Copying one file, as the Dir library's FileCopy and the desktop program's
// folder copy do.
#pragma once

#include <string_view>

#include "rt/api.h"

namespace rt::fs {

// Copies a regular file; paths are script text.  The copy is written beside
// the target and renamed over it once complete: a failure (a full disk)
// leaves the target as it was, and a link at the target is replaced as a
// link, never written through.  A new target takes the source's permission
// bits as the umask allows; an existing one keeps its own and its owner.  A
// read-only target is refused (70), and so is a target whose folder goes
// through a symbolic link to a folder (75).  Every failure raises the
// runtime's error.
RT_API void copyFile(std::u16string_view from, std::u16string_view to);

}  // namespace rt::fs
