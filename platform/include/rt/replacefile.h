// Replacing a file as one step: the new content goes to a temporary file in
// the same folder, which is renamed over the target once it is complete and
// on disk.  Until then, and after any failure, the target is byte for byte
// what it was, and the temporary file is removed.  The rename replaces the
// name itself: a symbolic link there is replaced, never written through.
// A name that fs::writtenThrough() names is never replaced: opening it for
// a replacement fails (EINVAL), and openThrough() writes through it.
//
// Temporary names are short and of one length, whatever the target's name:
// every name the file system takes can be written this way.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "rt/api.h"

namespace rt {

// Creates a new file, open for writing, under a fresh temporary name in a
// folder: `folder` ("" or ending in "/") taken from `dirFd` (AT_FDCWD: the
// current folder).  The name starts with ".~" (hidden from listings that
// pass over such names) and has kTempNameLength characters.  Returns the
// descriptor and sets `path` to `folder` and the name; -1, errno set, when
// no file could be made.  A file or link already there is never opened.
inline constexpr size_t kTempNameLength = 10;
RT_API int createTempFile(int dirFd, const std::string& folder, mode_t mode, std::string& path);

class RT_API FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Creates the temporary file beside `target`.  It takes the permission
  // bits, owner and group of `existing` when that is given (owner and group
  // where the process may set them), else `mode` as the umask allows.
  // False, errno set, when it cannot be made, or when `target` is a name no
  // file can have (so that nothing is written for a rename that must fail).
  bool open(const std::string& target, const struct stat* existing, mode_t mode = 0666);
  // Opens what `path` leads to for writing through it: the content is added
  // at its end (a file held open keeps what it has), and a pipe nobody reads
  // fails at once (ENXIO) instead of waiting.  False, errno set, when it
  // cannot be opened.
  bool openThrough(const std::string& path);
  // Where the new content is written.
  int fd() const { return fd_; }
  // Puts the content on disk and renames it over the target (written
  // through: closes it).  False, errno set, on any failure, the target left
  // as it was.
  bool commit();

 private:
  void discard() noexcept;

  int fd_ = -1;
  std::string temp_, target_;
};

}  // namespace rt
