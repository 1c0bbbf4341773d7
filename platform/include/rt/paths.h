// Folder paths as the system's names give them: "/" and "\" both separate,
// and a path that begins with a separator is absolute; any other path
// (a drive form such as "C:" included) is taken from the current folder.
#pragma once

#include <string_view>

#include "rt/api.h"

namespace rt {

// Makes every folder along `path` that does not exist yet, one step after
// the other from the first.  An empty path gives true; a trailing separator
// adds no step.  False at the first step that cannot be made, or that
// exists and is no folder; the folders made before it stay.
RT_API bool makePath(std::u16string_view path);

}  // namespace rt
