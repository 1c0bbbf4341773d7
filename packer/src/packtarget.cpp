#include "packtarget.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "failures.h"
#include "names.h"
#include "rt/error.h"
#include "rt/fspath.h"
#include "rt/replacefile.h"
#include "rt/text.h"

namespace wistel {

PackTarget::PackTarget(std::u16string_view packFile)
    : packFile_(packFile), target_(rt::fs::nativePath(packFile)) {
  if (target_.empty()) rt::raise(rt::err::BadFileName);
  // A device, a pipe or a file held open takes no pack, and is never replaced.
  if (rt::fs::writtenThrough(target_)) rt::raise(rt::err::PathFileAccess, shownName(packFile));
  target_ = rt::fs::linkedFile(target_);
  struct stat st {};
  mode_t mode = 0666;
  if (::stat(target_.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) rt::raise(rt::err::PathFileAccess, shownName(packFile));
    existing_ = st;
    mode = st.st_mode & 07777;
  }
  size_t slash = target_.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
  if (existing_ && ::stat(folder.empty() ? "." : folder.c_str(), &st) == 0) folder_ = st;
  int fd = rt::createTempFile(AT_FDCWD, folder, mode, temp_);
  if (fd < 0) raiseSystem(errno, rt::err::PathNotFound, packFile);
  if (existing_) ::fchmod(fd, mode);  // the old pack's mode, whatever the umask
  ::close(fd);
}

PackTarget::~PackTarget() {
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

std::u16string PackTarget::tempName() const { return rt::fromUtf8(temp_); }

void PackTarget::raiseNamingPack(const rt::RuntimeError& e) const {
  std::u16string description = e.description();
  std::u16string temp = tempName();
  if (size_t at = description.find(temp); !temp.empty() && at != std::u16string::npos)
    description.replace(at, temp.size(), shownName(packFile_));
  rt::raiseWith(e.number(), std::move(description), e.source());
}

bool PackTarget::isTargetName(int dirFd, const std::string& name) const {
  struct stat st {};
  if (!folder_ || ::fstat(dirFd, &st) != 0) return false;
  if (st.st_dev != folder_->st_dev || st.st_ino != folder_->st_ino) return false;
  return name == target_.substr(target_.rfind('/') + 1);
}

void PackTarget::commit() {
  if (::rename(temp_.c_str(), target_.c_str()) != 0)
    raiseSystem(errno, rt::err::PathNotFound, packFile_);
  temp_.clear();
}

}  // namespace wistel
