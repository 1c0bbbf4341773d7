#include "rt/replacefile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>

#include "rt/fspath.h"

namespace rt {

int createTempFile(int dirFd, const std::string& folder, mode_t mode, std::string& path) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  thread_local std::mt19937_64 rng{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = ".~";
    for (uint64_t n = rng(); name.size() < kTempNameLength; n /= 36) name += kDigits[n % 36];
    path = folder + name;
    // O_EXCL keeps it from ever being someone else's file, and fails on a
    // link as well.
    int fd = ::openat(dirFd, path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

FileReplacement::~FileReplacement() { discard(); }

bool FileReplacement::open(const std::string& target, const struct stat* existing, mode_t mode) {
  discard();
  struct stat st {};
  if (::lstat(target.c_str(), &st) != 0 && errno == ENAMETOOLONG) return false;
  if (fs::writtenThrough(target)) {
    errno = EINVAL;
    return false;
  }
  // A fresh name beside the target, so that the rename stays on one file
  // system.
  fd_ = createTempFile(AT_FDCWD, target.substr(0, target.rfind('/') + 1), 0600, temp_);
  if (fd_ < 0) {
    temp_.clear();
    return false;
  }
  target_ = target;
  auto fail = [this] {
    const int e = errno;
    discard();
    errno = e;
    return false;
  };
  if (!existing) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  } else {
    mode = existing->st_mode;
    // Only a privileged process may give a file away; others keep it.
    if ((existing->st_uid != ::geteuid() || existing->st_gid != ::getegid()) &&
        ::fchown(fd_, existing->st_uid, existing->st_gid) != 0 && errno != EPERM)
      return fail();
  }
  if (::fchmod(fd_, mode & 07777) != 0) return fail();
  return true;
}

bool FileReplacement::openThrough(const std::string& path) {
  discard();
  fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return false;
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  return true;
}

bool FileReplacement::commit() {
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  const bool through = temp_.empty();
  bool ok = through || ::fsync(fd_) == 0;  // a terminal or a pipe has no disk to reach
  int e = errno;
  if (::close(fd_) != 0 && ok) ok = false, e = errno;
  fd_ = -1;
  if (ok && !through && ::rename(temp_.c_str(), target_.c_str()) != 0) ok = false, e = errno;
  if (ok) {
    temp_.clear();
    return true;
  }
  discard();
  errno = e;
  return false;
}

void FileReplacement::discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

}  // namespace rt
