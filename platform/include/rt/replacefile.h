// Replacing a file as one step: the new content goes to a temporary file in
// the same folder, which is renamed over the target once it is complete and
// on disk.  Until then, and after any failure, the target is byte for byte
// what it was, and the temporary file is removed (also when a signal ends
// the command: rt/signals.h).
//
// Every writer opens its output here with the name as it was given, so that
// one rule serves them all: what fs::writtenThrough names (a device, a
// pipe, a file held open such as /dev/stdout) is written through, never
// replaced; a symbolic link is followed here, not by each writer.
//
// Temporary names are short and of one length, whatever the target's name:
// every name the file system takes can be written this way.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <span>
#include <string>

#include "rt/api.h"

namespace rt {

// Creates a new file, open for writing, under a fresh temporary name in a
// folder: `folder` ("" or ending in "/") taken from `dirFd` (AT_FDCWD: the
// current folder).  The name starts with ".~" (hidden from listings that
// pass over such names) and has kTempNameLength characters.  Returns the
// descriptor and sets `path` to `folder` and the name; -1, errno set, when
// no file could be made.  A file or link already there is never opened.
// It is a temporary file until renameTempFile or removeTempFile, both with
// the same `dirFd` and `path`.
inline constexpr size_t kTempNameLength = 10;
RT_API int createTempFile(int dirFd, const std::string& folder, mode_t mode, std::string& path);
// As renameat and unlinkat within the folder `dirFd`.
RT_API bool renameTempFile(int dirFd, const std::string& path, const std::string& target);
RT_API void removeTempFile(int dirFd, const std::string& path);

class RT_API FileReplacement {
 public:
  enum Options : unsigned {
    // For the files the system names itself (a compile cache): a symbolic
    // link at the name is replaced by the new file instead of followed, and
    // a name that is written through is refused (EINVAL).
    kReplaceLinks = 1,
    // A file its user may not write (read-only, or not writable by this
    // process) is kept: EACCES.
    kKeepReadOnly = 2,
  };

  FileReplacement() = default;
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Opens `name` for its new content.  Through a symbolic link the file it
  // leads to is replaced (also one not made yet).  An existing file keeps
  // its permission bits, its owner and its group as far as the process may
  // set them (the group alone where the owner cannot be kept); a new one
  // gets `mode` as the umask allows.  Written through, the content is added
  // at the end of what is there (through this process's own descriptor for
  // /dev/stdout, so it follows what the shell wrote), and a pipe nobody
  // reads fails at once (ENXIO) instead of waiting.  False, errno set, when
  // it cannot be opened: a folder there (EISDIR), or a name no file can
  // have (so that nothing is written for a rename that must fail).
  bool open(const std::string& name, unsigned options = 0, mode_t mode = 0666);
  // Where the new content is written.
  int fd() const { return fd_; }
  bool through() const { return through_; }
  // The file the new content replaces (after links), and its status when
  // it was opened: null when there was none, or for a name written through.
  const std::string& target() const { return target_; }
  const struct stat* replaced() const { return replaced_ ? &*replaced_ : nullptr; }

  // Puts the content on disk and closes it; the target stays as it was.
  bool finish();
  // Renames the finished content over the target.
  bool place();
  // finish, place, then the folder synced so that the rename lasts.  False,
  // errno set, on any failure before the rename: the target is as it was.
  bool commit();
  // Every file finished before the first is placed, so that a failure on
  // any of them (a full disk) changes none; then each placed in turn, no
  // signal ending the command in between; then their folders synced.
  // False, errno set, at the first failure: the files after it are not
  // placed.
  static bool commitAll(std::span<FileReplacement* const> files);

 private:
  bool openThrough(const std::string& path);
  void discard() noexcept;

  int fd_ = -1;
  bool through_ = false;
  bool finished_ = false;
  std::string temp_, target_;
  std::optional<struct stat> replaced_;
};

}  // namespace rt
