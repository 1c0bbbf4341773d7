// Reading and replacing a whole small file (profile files).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace jespin {

enum class ReadResult { Ok, Missing, Failed, TooLarge };

// Reads the regular file `name` (a file-system name).  Missing when there is
// no such file; Failed when it cannot be read or is no regular file (a
// device or a pipe could feed it without end); TooLarge when it holds more
// than `most` bytes (nothing more is read then).
ReadResult readWholeFile(const std::string& name, std::string& out, uint64_t most);

// Replaces the content of `name` as one step (rt/replacefile.h), so a
// failure half-way leaves the old content.  A symbolic link is followed and
// its target replaced; an existing file keeps its permissions and owner.  A
// file that may not be written (no write permission for its owner, or for
// this process) is refused.  False on any failure.
bool replaceFile(const std::string& name, std::string_view data);

}  // namespace jespin
