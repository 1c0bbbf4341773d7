// Folder paths as the system's names give them: "/" and "\" both separate,
// and a path that begins with a separator is absolute; any other path
// (a drive form such as "C:" included) is taken from the current folder.
#pragma once

#include <string>
#include <string_view>

#include "rt/api.h"

namespace rt {

// `path` with every "\" turned into "/".
RT_API std::u16string withSlashes(std::u16string_view path);
// `path` as a folder: "/" separators and one "/" at its end ("" gives "/").
RT_API std::u16string folderPath(std::u16string_view path);
// The full name of `name` taken from the folder `folder`: an absolute name
// as it is, any other appended to the folder (which ends in a separator,
// or is empty for the current folder).  Nothing is resolved and the file
// system is not asked.
RT_API std::u16string pathFrom(std::u16string_view folder, std::u16string_view name);

// Makes every folder along `path` that does not exist yet, one step after
// the other from the first.  An empty path gives true; a trailing separator
// adds no step.  False at the first step that cannot be made, or that
// exists and is no folder; the folders this call made before it are
// removed again.
RT_API bool makePath(std::u16string_view path);

}  // namespace rt
