// Replacing a file as one step: the new content goes to a temporary file in
// the same folder, which is renamed over the target once it is complete and
// on disk.  Until then, and after any failure, the target is byte for byte
// what it was, and the temporary file is removed.  The rename replaces the
// name itself: a symbolic link there is replaced, never written through.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "rt/api.h"

namespace rt {

class RT_API FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Creates the temporary file beside `target`.  It takes the permission
  // bits, owner and group of `existing` when that is given (owner and group
  // where the process may set them), else `mode` as the umask allows.
  // False, errno set, when it cannot be made.
  bool open(const std::string& target, const struct stat* existing, mode_t mode = 0666);
  // Where the new content is written.
  int fd() const { return fd_; }
  // Puts the content on disk and renames it over the target.  False, errno
  // set, on any failure, the target left as it was.
  bool commit();

 private:
  void discard() noexcept;

  int fd_ = -1;
  std::string temp_, target_;
};

}  // namespace rt
