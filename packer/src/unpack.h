// Unpacking a pack file into a folder.
#pragma once

#include <string_view>

namespace wistel {

class PackInfo;

// Reads the header of `packFile` into `info`, refuses a newer version (with
// the version notice) and, for a pack with a password, asks for it; then
// writes the folder tree into `dirPath` (made along its whole path).
// Folders below it are made and opened one level at a time, never through a
// link, so nothing is written outside `dirPath`.  Each file is written under
// a temporary name, gets its stored modification time and replaces an
// existing file only when complete; an existing read-only file stays as it
// was.  A file or folder that cannot be written is skipped and the next
// record read; the run then ends with ShowErr naming them.  A damaged pack
// ends the run with ShowErr (what was written so far stays).  True when
// everything was unpacked.
bool unpack(PackInfo& info, std::u16string_view dirPath, std::u16string_view packFile);

}  // namespace wistel
