// Scripts that build rings of script values and keep parts of them
// reachable by every route a script has, drop the rest, change what is
// kept, and then read back everything kept (their output is its digest).
// A seed names each script: the same seed and edition always give the
// same text, so that a failing one can be replayed.
#pragma once

#include <cstdint>
#include <string>

namespace ringscripts {

enum class Edition { First, Second };

std::string script(uint64_t seed, Edition edition);

}  // namespace ringscripts
