// Doubles as text in the text coding: "." as the decimal point whatever the
// locale, the fewest digits that read back as the same value, and the
// runtime's exponent form ("1.5E+20", "1E-05").
#pragma once

#include <string>
#include <string_view>

namespace nubrel {

std::string formatStreamDouble(double d);

// Reads what formatStreamDouble writes, and also the 15-digit texts of older
// streams, a "," as the decimal point and blanks around the number.
bool parseStreamDouble(std::u16string_view text, double& out);

}  // namespace nubrel
