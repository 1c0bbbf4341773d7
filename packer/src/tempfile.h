// New files under fresh names: a pack, and each file unpacked, is written
// under such a name and renamed over its target only when complete.
#pragma once

#include <sys/types.h>

#include <string>

namespace wistel {

// Creates a file that did not exist, `prefix` followed by digits, in the
// folder `dirFd` (AT_FDCWD: `prefix` is a path from the current folder).
// Returns its descriptor and sets `name`; -1 with errno set on failure.
// The prefixes the packer uses start with a dot, so no walk packs them.
int createFresh(int dirFd, const std::string& prefix, mode_t mode, std::string& name);

// The prefix of the packer's temporary names.
constexpr const char* kTempPrefix = ".~wistel";

}  // namespace wistel
