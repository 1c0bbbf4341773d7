// Text helpers of the engine that the runtime does not already offer
// (splitHead, padLeft and padRight are rt::, strings.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "rt/text.h"

namespace engine {

// Hashing and equality of names without regard to case, for unordered maps
// keyed by name (transparent: a string_view looks up without a copy).
struct NoCaseHash {
  using is_transparent = void;
  size_t operator()(std::u16string_view s) const { return rt::hashNoCase(s); }
};
struct NoCaseEq {
  using is_transparent = void;
  bool operator()(std::u16string_view a, std::u16string_view b) const { return rt::equalsNoCase(a, b); }
};

// Every occurrence of `find` (case ignored), from the start, replaced by
// `with`; the replacement is not searched again.  An empty `find` finds
// nothing and returns `s` unchanged.
std::u16string replaceNoCase(std::u16string_view s, std::u16string_view find,
                             std::u16string_view with);

// `s` between two double quotes.
std::u16string addQuotes(std::u16string_view s);

}  // namespace engine
