// What a new pack must leave out of the folder tree it packs: the pack it
// replaces, which must not pack itself.  The pack is written by its stream
// through rt::FileReplacement: under a temporary dot-name beside its target
// until complete (a name no walk packs), or through a device, a pipe or a
// file held open.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

#include "rt/error.h"

namespace wistel {

class PackTarget {
 public:
  explicit PackTarget(std::u16string_view packFile);

  // Raises `e` again with the pack shown as messages show names where the
  // stream named it.
  [[noreturn]] void raiseNamingPack(const rt::RuntimeError& e) const;
  // The pack file that was there before (after links: the file the pack
  // replaces, or is written through).
  bool isOldPack(const struct stat& st) const {
    return existing_ && st.st_dev == existing_->st_dev && st.st_ino == existing_->st_ino;
  }
  // Whether the entry `name` of the folder `dirFd` is the target's own name,
  // not another name of the same file.
  bool isTargetName(int dirFd, const std::string& name) const;

 private:
  std::u16string packFile_;  // as asked for
  std::string native_;       // as the stream names it
  std::string target_;
  std::optional<struct stat> existing_;
  std::optional<struct stat> folder_;  // the target's folder
};

}  // namespace wistel
