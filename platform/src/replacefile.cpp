#include "rt/replacefile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <vector>

#include "rt/fspath.h"
#include "tempnames.h"

namespace rt {

namespace {

std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

// So that the renames in it last.  Some file systems cannot sync a folder;
// the files are in place all the same, so a failure here is no failure of
// theirs.
void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

int createTempFile(int dirFd, const std::string& folder, mode_t mode, std::string& path) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  thread_local std::mt19937_64 rng{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = ".~";
    for (uint64_t n = rng(); name.size() < kTempNameLength; n /= 36) name += kDigits[n % 36];
    path = folder + name;
    // Listed before a signal can come between its making and its listing.
    tempnames::Held held;
    // O_EXCL keeps it from ever being someone else's file, and fails on a
    // link as well.
    int fd = ::openat(dirFd, path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return fd;
    try {
      tempnames::add(dirFd, path);
    } catch (...) {
      ::unlinkat(dirFd, path.c_str(), 0);
      ::close(fd);
      errno = ENOMEM;
      return -1;
    }
    return fd;
  }
  errno = EEXIST;
  return -1;
}

bool renameTempFile(int dirFd, const std::string& path, const std::string& target) {
  tempnames::Held held;
  if (::renameat(dirFd, path.c_str(), dirFd, target.c_str()) != 0) return false;
  tempnames::forget(dirFd, path);
  return true;
}

void removeTempFile(int dirFd, const std::string& path) {
  const int e = errno;
  tempnames::Held held;
  ::unlinkat(dirFd, path.c_str(), 0);
  tempnames::forget(dirFd, path);
  errno = e;
}

FileReplacement::~FileReplacement() { discard(); }

bool FileReplacement::open(const std::string& name, unsigned options, mode_t mode) {
  discard();
  if (fs::writtenThrough(name)) {
    if (options & kReplaceLinks) {
      errno = EINVAL;
      return false;
    }
    return openThrough(name);
  }
  std::string target = options & kReplaceLinks ? name : fs::linkedFile(name);
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      errno = EISDIR;
      return false;
    }
    // What is left a link (one replaced, or one that loops) has no mode to
    // keep: the rename replaces the link itself.
    if (S_ISREG(st.st_mode)) replaced_ = st;
  } else if (errno == ENAMETOOLONG) {
    return false;
  }
  if (replaced_ && (options & kKeepReadOnly) && !fs::writable(target, *replaced_)) {
    replaced_.reset();
    errno = EACCES;
    return false;
  }
  // A fresh name beside the target, so that the rename stays on one file
  // system.
  fd_ = createTempFile(AT_FDCWD, folderOf(target), 0600, temp_);
  if (fd_ < 0) {
    temp_.clear();
    replaced_.reset();
    return false;
  }
  target_ = std::move(target);
  auto fail = [this] {
    const int e = errno;
    discard();
    errno = e;
    return false;
  };
  if (!replaced_) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  } else {
    mode = replaced_->st_mode;
    // Only a privileged process may give a file away (and none an owner
    // its user namespace cannot name: EINVAL); others keep it, and keep the
    // group where they belong to it.
    auto refused = [] { return errno == EPERM || errno == EINVAL; };
    if ((replaced_->st_uid != ::geteuid() || replaced_->st_gid != ::getegid()) &&
        ::fchown(fd_, replaced_->st_uid, replaced_->st_gid) != 0) {
      if (!refused()) return fail();
      if (::fchown(fd_, static_cast<uid_t>(-1), replaced_->st_gid) != 0 && !refused()) return fail();
    }
  }
  if (::fchmod(fd_, mode & 07777) != 0) return fail();
  return true;
}

bool FileReplacement::openThrough(const std::string& path) {
  target_ = path;
  through_ = true;
  if (const int own = fs::ownDescriptor(path); own >= 0) {
    fd_ = ::fcntl(own, F_DUPFD_CLOEXEC, 0);
  } else {
    fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    if (fd_ >= 0) ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  }
  if (fd_ >= 0) return true;
  const int e = errno;
  discard();
  errno = e;
  return false;
}

bool FileReplacement::finish() {
  if (finished_) return true;
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  bool ok = through_ || ::fsync(fd_) == 0;  // a terminal or a pipe has no disk to reach
  int e = errno;
  if (::close(fd_) != 0 && ok) ok = false, e = errno;
  fd_ = -1;
  finished_ = ok;
  if (ok) return true;
  discard();
  errno = e;
  return false;
}

bool FileReplacement::place() {
  if (!finished_) {
    errno = EBADF;
    return false;
  }
  if (temp_.empty()) return true;
  if (!renameTempFile(AT_FDCWD, temp_, target_)) {
    const int e = errno;
    discard();
    errno = e;
    return false;
  }
  temp_.clear();
  return true;
}

bool FileReplacement::commit() {
  FileReplacement* self = this;
  return commitAll({&self, 1});
}

bool FileReplacement::commitAll(std::span<FileReplacement* const> files) {
  for (FileReplacement* f : files)
    if (!f->finish()) return false;
  {
    tempnames::Held held;
    for (FileReplacement* f : files)
      if (!f->place()) return false;
  }
  std::vector<std::string> folders;
  for (const FileReplacement* f : files)
    if (!f->through_) folders.push_back(folderOf(f->target_));
  std::sort(folders.begin(), folders.end());
  folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
  for (const std::string& folder : folders) syncFolder(folder);
  return true;
}

void FileReplacement::discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) removeTempFile(AT_FDCWD, temp_);
  temp_.clear();
  target_.clear();
  replaced_.reset();
  through_ = finished_ = false;
}

}  // namespace rt
