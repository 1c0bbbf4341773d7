// What the engine's fuzz targets share: an in-memory stream and a reader of
// compiled streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "nubrel/vstream.h"

namespace fuzz {

// A binary stream in memory.  Reading past the end raises 62.
rt::Ref<nubrel::VStream> newByteStream();
// Starts reading from the beginning.
void rewind(nubrel::VStream& vs);

// Reads a compiled stream up to its end record; false when it does not
// read back (which a stream the compiler wrote must always do).
bool readsBack(nubrel::VStream& vs);

}  // namespace fuzz
