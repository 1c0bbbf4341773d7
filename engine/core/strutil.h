// Text helpers of the engine that the runtime does not already offer
// (splitHead, padLeft and padRight are rt::, strings.h).
#pragma once

#include <string>
#include <string_view>

namespace engine {

// Every occurrence of `find` (case ignored), from the start, replaced by
// `with`; the replacement is not searched again.  An empty `find` finds
// nothing and returns `s` unchanged.
std::u16string replaceNoCase(std::u16string_view s, std::u16string_view find,
                             std::u16string_view with);

// `s` between two double quotes.
std::u16string addQuotes(std::u16string_view s);

}  // namespace engine
