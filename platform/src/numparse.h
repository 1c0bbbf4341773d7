// Reading number text, shared by parseNumber and the conversions (which each
// read the digits into their own target type, so that no precision is lost
// on the way through a Double).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/locale.h"

namespace rt::numparse {

struct NumberText {
  // "&H" or "&O" text: an unsigned value, `radixOverflow` past 32 bits.
  bool radix = false;
  uint64_t radixValue = 0;
  bool radixOverflow = false;
  // Decimal text in the plain, locale-free form: "-1234.5e3".
  std::u16string plain;
  bool negative = false;
  bool zero = false;
  // The power of ten of the first significant digit (0 for "5", -2 for
  // "0.05"), clamped far outside the double range.
  int64_t magnitude = 0;
};

// False when `s` is no number in the forms the runtime reads.
bool scan(std::u16string_view s, const LocaleProfile& loc, NumberText& out);

// The decimal text as a Double; false when it lies beyond the Double range
// (a value too small for it reads as zero).
bool toDouble(const NumberText& n, double& out);

}  // namespace rt::numparse
