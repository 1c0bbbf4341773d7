// The engine library's compiled-in resources: the character class table
// (CUSTOM 101), the library catalogues (strings 101 to 630, catalogue.h), the
// keyword table (strings 2001 to 2060) and the messages of the engine's
// errors (strings 10000 + n).
#pragma once

#include "rt/resources.h"

namespace engine {

const rt::Resources& engineResources();

}  // namespace engine
