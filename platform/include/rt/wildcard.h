// DOS wildcards of folder patterns (the Dir library's): "*" any run of characters,
// "?" one character, letters compared without regard to case.  As on the
// original platform, a name without a dot is also matched as if it ended in
// one, so "*.*" and "a.*" take "a", and "*." takes the names without a dot.
#pragma once

#include <string_view>

#include "rt/api.h"

namespace rt {

RT_API bool hasWildcards(std::u16string_view pattern);
RT_API bool matchesWildcard(std::u16string_view pattern, std::u16string_view name);

}  // namespace rt
