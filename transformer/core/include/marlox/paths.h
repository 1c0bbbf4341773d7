// Paths as the program builds them: "\" is read as "/", folder paths end in
// "/", and a path beginning with "/" is absolute; every other path (a drive
// form such as "C:" included) is taken from the program folder.  The same
// rule as the application interface's (rt/paths.h).
#pragma once

#include <string>
#include <string_view>

#include "rt/paths.h"

namespace marlox {

using rt::withSlashes;
// The folder `path` with "/" separators and one "/" at its end (an empty
// path gives "/").
inline std::u16string addBackslash(std::u16string_view path) { return rt::folderPath(path); }
// The full name of `path` taken from the folder `appPath` (which ends in
// "/"): the folder itself for an empty path, an absolute path unchanged.
inline std::u16string absPath(std::u16string_view appPath, std::u16string_view path) {
  return rt::pathFrom(appPath, path);
}
// True when `s` has at least one character.
inline bool notEmpty(std::u16string_view s) { return !s.empty(); }
// `s` between double quotes.
inline std::u16string addQuotes(std::u16string_view s) { return u"\"" + std::u16string(s) + u"\""; }

}  // namespace marlox
