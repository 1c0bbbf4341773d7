// Val: the number a text begins with, read without regard to the locale.
#pragma once

#include <string_view>

namespace engine {

// Blanks, tabs and line feeds anywhere are skipped; reading stops at the
// first character that cannot continue the number: a sign, digits with one
// full stop, an exponent (E or D), or "&H" hexadecimal and "&O" octal digits
// (whose top bit of 16, or of 32 for more digits, is the sign).  0 when the
// text begins with no number; a number past the Double range raises 6.
double valOf(std::u16string_view s);

}  // namespace engine
