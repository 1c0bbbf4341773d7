// What one read of a file may ask for, whatever the file holds.  Reading
// past these is refused with a recorded or raised error, so a huge file, or
// a device that never ends, cannot exhaust memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace jespin {

// A whole profile file, read again for every lookup, up to 256 times in one
// substituted value (error 7).
constexpr uint64_t kMaxProfileBytes = uint64_t{1} << 20;
// One line of a text file, in code-page bytes (error 14).
constexpr size_t kMaxLineBytes = size_t{64} << 20;
// One line of a UTF-16 file, in units (error 14).
constexpr size_t kMaxLineUnits = size_t{32} << 20;

}  // namespace jespin
