// Searching text for the String library: the comparison modes scripts pass,
// and searching forward and backward from a position.
#pragma once

#include <cstdint>
#include <string_view>

#include "rt/ops.h"

namespace engine {

// A script's comparison mode: -1 and 0 exact, 1 and 2 case-blind; any other
// value raises 5.
rt::CompareMode compareModeOf(int32_t mode);

// InStr: the position (from 1) of the first `find` in `s` at or after
// position `start`; 0 when there is none or `s` is empty or shorter than
// `start`; `start` itself for an empty `find`.  A start below 1 raises 5.
int32_t findFrom(std::u16string_view s, std::u16string_view find, int32_t start,
                 rt::CompareMode mode);

// InStrRev: the position of the last `find` that ends at or before position
// `start` (-1: the end of `s`); 0 when there is none, `s` is empty or
// `start` lies past its end; `start` for an empty `find`.  A start of 0 or
// below -1 raises 5.
int32_t findBackFrom(std::u16string_view s, std::u16string_view find, int32_t start,
                     rt::CompareMode mode);

}  // namespace engine
