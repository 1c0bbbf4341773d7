// The name of the engine library these sources are built into.
//
// Both engine editions compile the shared engine sources; each library
// defines this function in its own library.cpp, so error records and
// qualified sources name the library that actually runs.
#pragma once

#include <string_view>

namespace engine {

std::u16string_view libraryName();

}  // namespace engine
