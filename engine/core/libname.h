// The name of the engine library these sources are built into.
//
// Both engine editions compile the shared engine sources, each under its
// own name, so error records and qualified sources name the library that
// actually runs.
#pragma once

#include <string_view>

#include "rt/object.h"

// Each library compiles the shared sources with ZUB_ENGINE_LIBRARY set to
// its name.  The engine's internal interfaces carry it in their IDs, so
// that an object of one engine library is never taken for the other's
// internal class (a space, a value holder, a host): the other's objects
// are reached through the script interfaces only.
#ifndef ZUB_ENGINE_LIBRARY
#error "ZUB_ENGINE_LIBRARY names the engine library these sources are built into"
#endif
#define ENGINE_IID(name) rt::guidOf(ZUB_ENGINE_LIBRARY "." name)

namespace engine {

inline std::u16string_view libraryName() { return u"" ZUB_ENGINE_LIBRARY; }

}  // namespace engine
