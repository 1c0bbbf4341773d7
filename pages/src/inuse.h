// The files the page runs in progress read and write, so that no run writes
// over a page, a compiled page or an include that a run has read, nor over
// a file another run (or itself) is writing: the same file by device and
// inode whatever its name, and for a file not made yet the same name in the
// same folder.  Runs nest on one thread, so one list serves the process.
#pragma once

#include <string_view>

namespace halvorn::inuse {

// `run` has read the file `name` (nothing happens when there is none).
void read(const void* run, std::u16string_view name);
// False when `name` is a file a run has read or is writing; otherwise
// `run` is now writing it.  A device or a pipe may be written by any run.
bool write(const void* run, std::u16string_view name);
// Whether `name` is now a file that a run has read: a file being written
// that an include read meanwhile must not be replaced.
bool wasRead(std::u16string_view name);
// `run` is done with writing `name`: others may write it again.
void written(const void* run, std::u16string_view name);
// `run` has ended: what it read and writes is free again, but what it read
// stays read by `heir` when there is one (a run it was part of).
void release(const void* run, const void* heir = nullptr);

}  // namespace halvorn::inuse
