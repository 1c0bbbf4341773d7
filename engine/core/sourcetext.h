// Source text before tokenizing, once cut into lines (rt::splitLines):
// taking out the comments.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// `s` without its comments: "//" and "'" end the code of the line, "/*"
// opens a block comment that "*/" closes, across lines through
// `inBlockComment`.  Nothing inside double quotes starts a comment.  A line
// that ends inside quotes raises 103 ("<library>.ScriptHost.ClearSptRem").
std::u16string clearSptRem(std::u16string_view s, bool& inBlockComment);

// `s` without leading and trailing spaces (tabs stay).
std::u16string_view trimBlanks(std::u16string_view s);

}  // namespace engine
