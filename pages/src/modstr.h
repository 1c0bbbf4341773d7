// The page library's small text helpers.
#pragma once

#include <string>
#include <string_view>

namespace halvorn {

// The text without its first and last character when it begins and ends
// with a double quote; otherwise unchanged.  A lone double quote raises 5.
std::u16string stripQuotes(std::u16string_view text);

// "[" name "]", as messages name a file: the name as rt::fs::shownName
// shows it, so that no name drives the terminal a message is shown on.
std::u16string bracket(std::u16string_view text);

}  // namespace halvorn
