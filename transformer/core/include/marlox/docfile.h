// The document's file: reading it whole, and writing a saved text to it.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace marlox {

enum class FileRead { Ok, Failed, TooLarge };

// The bytes of the regular file `path` (a file-system name), when it holds
// at most `most` of them.
FileRead readFileContent(const std::string& path, size_t most, std::string& bytes);

// Where writing a saved text stopped: the step, and the errno it met.
struct WriteFailure {
  enum Step {
    None,
    MakeTemp,   // the new file beside the old one could not be made
    WriteTemp,  // ... or written
    Replace,    // ... or put on disk and renamed over the old one
    Open,       // the file itself could not be opened to be written in place
    Reserve,    // its room could not be reserved
    Restore,    // ... and its length could not be put back after that
    Write,      // it could not be written
    Cut,        // ... or cut to the new length
    Flush,      // ... or put on disk
  };
  Step step = None;
  int error = 0;
  explicit operator bool() const { return step != None; }
};

// Makes `bytes` the whole content of the file `path` (a file-system name);
// `existing` is its stat when it exists.  The file is replaced in one step,
// keeping its permissions and owner, so a failure leaves it as it was.  A
// file with more than one name (hard links), and a file that may be
// written in a folder that takes no new file (read-only, or refusing the
// rename), is written in place instead, so that it stays one file; and
// only once the room for all of `bytes` is reserved, so that a full disk,
// a size limit or a file system that cannot reserve stops the save before
// a byte of the file changes.
WriteFailure writeFileContent(const std::string& path, const struct stat* existing, std::string_view bytes);

// The system's message for the errno `error`.
std::u16string systemMessage(int error);

}  // namespace marlox
