// Paths as the program builds them: "\" is read as "/", folder paths end in
// "/", and a path beginning with "/" is absolute; every other path (a drive
// form such as "C:" included) is taken from the program folder.
#pragma once

#include <string>
#include <string_view>

namespace marlox {

// `path` with every "\" turned into "/".
std::u16string withSlashes(std::u16string_view path);
// The folder `path` with "/" separators and one "/" at its end (an empty
// path gives "/").
std::u16string addBackslash(std::u16string_view path);
// The full name of `path` taken from the folder `appPath` (which ends in
// "/"): the folder itself for an empty path, an absolute path unchanged.
// Nothing is resolved and the file system is not asked.
std::u16string absPath(std::u16string_view appPath, std::u16string_view path);
// True when `s` has at least one character.
inline bool notEmpty(std::u16string_view s) { return !s.empty(); }
// `s` between double quotes.
inline std::u16string addQuotes(std::u16string_view s) { return u"\"" + std::u16string(s) + u"\""; }

}  // namespace marlox
