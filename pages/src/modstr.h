// The page library's small text helpers.
#pragma once

#include <string>
#include <string_view>

namespace halvorn {

// The text without its first and last character when it begins and ends
// with a double quote; otherwise unchanged.  A lone double quote raises 5.
std::u16string stripQuotes(std::u16string_view text);

// "[" text "]", as the include messages name a file.
std::u16string bracket(std::u16string_view text);

}  // namespace halvorn
