// Text helpers of the engine that the runtime does not already offer
// (splitHead, padLeft and padRight are rt::, strings.h).
#pragma once

#include <cstddef>
#include <cstdint>
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
  bool operator()(std::u16string_view a, std::u16string_view b) const;
};

// Whether two names are equal without regard to case: rt::equalsNoCase,
// with the names of plain ASCII compared here, since every lookup of a
// name asks it.
inline bool sameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= 0x80 || y >= 0x80) return rt::equalsNoCase(a.substr(i), b.substr(i));
    if (x == y) continue;
    if ((x | 0x20) != (y | 0x20) || (x | 0x20) < u'a' || (x | 0x20) > u'z') return false;
  }
  return true;
}

inline bool NoCaseEq::operator()(std::u16string_view a, std::u16string_view b) const {
  return sameName(a, b);
}

// The first `count` occurrences of `find` (all for a negative count), from
// the start, replaced by `with`; the replacement is not searched again.  An
// empty `find` finds nothing and returns `s` unchanged.  A result longer than
// the longest text raises 14.
std::u16string replaceText(std::u16string_view s, std::u16string_view find,
                           std::u16string_view with, int32_t count, bool noCase);
// Every occurrence, case ignored.
std::u16string replaceNoCase(std::u16string_view s, std::u16string_view find,
                             std::u16string_view with);

// `s` between two double quotes.
std::u16string addQuotes(std::u16string_view s);

}  // namespace engine
