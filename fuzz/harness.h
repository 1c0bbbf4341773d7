// What the engine's fuzz targets share: the input as script text, an
// in-memory stream, a process-local error record, and a reader of compiled
// streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "nubrel/vstream.h"

namespace fuzz {

// Registers the error record class for this process (the targets do not
// load the support library).  Call once.
void installClasses();

// The input as text: UTF-16LE after a FF FE mark, UTF-8 otherwise.
std::u16string inputText(const uint8_t* data, size_t size);

// A binary stream in memory.  Reading past the end raises 62.
rt::Ref<nubrel::VStream> newByteStream();
// Starts reading from the beginning.
void rewind(nubrel::VStream& vs);

// Reads a compiled stream up to its end record; false when it does not
// read back (which a stream the compiler wrote must always do).
bool readsBack(nubrel::VStream& vs);

}  // namespace fuzz
