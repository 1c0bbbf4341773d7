// Source text before tokenizing: cutting it into lines and taking out the
// comments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace engine {

// The lines of `s`, cut at CR LF, a lone CR or a lone LF.  A line end at the
// very end adds no empty line; an empty text has no lines.
std::vector<std::u16string_view> splitLines(std::u16string_view s);

// `s` without its comments: "//" and "'" end the code of the line, "/*"
// opens a block comment that "*/" closes, across lines through
// `inBlockComment`.  Nothing inside double quotes starts a comment.  A line
// that ends inside quotes raises 103 ("<library>.ScriptHost.ClearSptRem").
std::u16string clearSptRem(std::u16string_view s, bool& inBlockComment);

// `s` without leading and trailing spaces (tabs stay).
std::u16string_view trimBlanks(std::u16string_view s);

}  // namespace engine
