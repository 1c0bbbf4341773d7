// A new pack under a temporary name beside its target until it is complete:
// a failed pack leaves no partial pack and an older pack unchanged.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

#include "rt/error.h"

namespace wistel {

class PackTarget {
 public:
  // Reserves the temporary name (a dot-name, so no walk packs it).  Through
  // a symbolic link the file it names is replaced, not the link; an older
  // pack's mode is kept.
  explicit PackTarget(std::u16string_view packFile);
  // Removes the temporary file unless it was put in place.
  ~PackTarget();
  PackTarget(const PackTarget&) = delete;
  PackTarget& operator=(const PackTarget&) = delete;

  // Where the stream writes the pack until it is complete.
  std::u16string tempName() const;
  // Raises `e` again naming the pack asked for where it named the temporary
  // file: the stream knows the pack by that name only.
  [[noreturn]] void raiseNamingPack(const rt::RuntimeError& e) const;
  // The pack file that was there before, which must not pack itself.
  bool isOldPack(const struct stat& st) const {
    return existing_ && st.st_dev == existing_->st_dev && st.st_ino == existing_->st_ino;
  }
  // Whether the entry `name` of the folder `dirFd` is the target's own name,
  // not another name of the same file.
  bool isTargetName(int dirFd, const std::string& name) const;
  // Renames the complete pack over its target.
  void commit();

 private:
  std::u16string packFile_;  // as asked for
  std::string target_;
  std::string temp_;
  std::optional<struct stat> existing_;
  std::optional<struct stat> folder_;  // the target's folder
};

}  // namespace wistel
