// Folder paths made along their whole length.
#pragma once

#include <string_view>

#include "rt/api.h"

namespace rt {

// Makes every folder along `path` that does not exist yet, shortest prefix
// first.  Both "/" and "\" separate; a path that begins with a separator is
// absolute, any other is taken from the current folder.  An empty path gives
// true, and a trailing separator adds no step.  False on the first prefix
// that cannot be made (or that names something other than a folder); the
// folders made before it stay.
RT_API bool makePath(std::u16string_view path);

}  // namespace rt
