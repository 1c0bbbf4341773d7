// Decimal digits of binary floating-point numbers, for the text forms of
// numbers here and for the number formats of the libraries.
#pragma once

#include <string>

namespace rt::numtext {

// A number as significant digits "d1 d2 d3 ..." meaning d1.d2d3... x 10^exponent.
struct Digits {
  std::string digits;  // no trailing zeros; "0" for zero
  int exponent = 0;
  bool negative = false;
};

// `v` (finite) rounded to `significant` digits (1 to 17), exactly rounded
// from its binary value.
Digits digitsOf(double v, int significant);

// The runtime's general form: plain digits while the exponent lies in
// [-4, sciFrom), otherwise "d.dddE+XX" with a signed exponent of at least two
// digits.
std::u16string general(const Digits& d, int sciFrom, char16_t decimalSep);

}  // namespace rt::numtext
