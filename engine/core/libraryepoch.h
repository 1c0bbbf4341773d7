// A count that moves whenever what a list of function libraries answers for
// a name may change: a list made, changed or gone, a library's catalogue
// read.  What the evaluator keeps of a library lookup (bindings.h) holds
// only while the count stays.
#pragma once

#include <cstdint>

namespace engine {

inline uint64_t libraryEpoch = 1;

inline void librariesChanged() { ++libraryEpoch; }

}  // namespace engine
