#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nubrel {

// `text` with `fill` put in front of it (width - length) times, counted in
// calls, not characters; a text of `width` or more comes back unchanged, never
// cut.  With a one-character fill the result is exactly `width` long.
std::u16string padLeft(std::u16string_view text, int32_t width, std::u16string_view fill);

}  // namespace nubrel
