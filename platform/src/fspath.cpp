#include "rt/fspath.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>

#include "rt/error.h"
#include "rt/filenames.h"
#include "rt/text.h"

namespace rt::fs {

namespace {

bool isSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

[[noreturn]] void refuse(const std::string& path) {
  rt::raise(rt::err::PathFileAccess, rt::fromUtf8(path));
}

// The canonical name of an existing path, "" when it cannot be resolved.
std::string canonical(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : std::string();
}

std::string homeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return {};
}

// As many links as the system itself follows in one name.
constexpr int kMostLinks = 40;

// The name the link `at` holds, read from the link's own folder when
// relative; "" when it cannot be read.
std::string linkTarget(const std::string& at) {
  char to[PATH_MAX];
  const ssize_t n = ::readlink(at.c_str(), to, sizeof to);
  if (n <= 0 || n >= static_cast<ssize_t>(sizeof to)) return {};
  std::string next(to, static_cast<size_t>(n));
  const size_t slash = at.rfind('/');
  if (next.front() != '/' && slash != std::string::npos) next = at.substr(0, slash + 1) + next;
  return next;
}

// The first link on the way from `path` that lies in /proc, where a link is
// a process's open descriptor rather than a name; "" when there is none.
std::string descriptorLink(const std::string& path) {
  std::string at = path;
  for (int hops = 0; hops < kMostLinks && !at.empty(); ++hops) {
    struct stat st {};
    if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return {};
    const size_t slash = at.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : at.substr(0, slash + 1);
    struct statfs where {};
    if (::statfs(folder.c_str(), &where) == 0 && where.f_type == PROC_SUPER_MAGIC) return at;
    at = linkTarget(at);
  }
  return {};
}

}  // namespace

std::string linkedFile(const std::string& path) {
  std::string at = path;
  for (int hops = 0; hops < kMostLinks; ++hops) {
    struct stat st {};
    if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
    if (std::string real = canonical(at); !real.empty()) return real;
    // A link that leads to no file yet: the name it holds.
    at = linkTarget(at);
    if (at.empty()) return path;
  }
  return path;
}

int ownDescriptor(const std::string& path) {
  const std::string link = descriptorLink(path);
  const size_t slash = link.rfind('/');
  if (slash == std::string::npos || slash + 1 == link.size()) return -1;
  // The folder of this process's descriptors, or of its thread's.
  const std::string folder = canonical(link.substr(0, slash));
  const std::string own = "/proc/" + std::to_string(::getpid());
  if (folder != own + "/fd" && !(folder.starts_with(own + "/task/") && folder.ends_with("/fd"))) return -1;
  int fd = 0;
  for (char c : link.substr(slash + 1)) {
    if (c < '0' || c > '9' || fd > (INT_MAX - 9) / 10) return -1;
    fd = fd * 10 + (c - '0');
  }
  return ::fcntl(fd, F_GETFD) == -1 ? -1 : fd;
}

bool writtenThrough(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  if (S_ISREG(st.st_mode)) return !descriptorLink(path).empty();
  return S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode);
}

std::string nativePath(std::u16string_view path) {
  if (!isNameable(path)) rt::raise(rt::err::BadFileName);
  std::string s = bytesOfName(path);
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

PathParts splitPath(std::u16string_view path) {
  size_t i = path.size();
  while (i > 0 && !isSeparator(path[i - 1])) --i;
  return {path.substr(0, i), path.substr(i)};
}

int32_t attributesOf(const struct stat& st, std::u16string_view name) {
  int32_t a = 0;
  if (!(st.st_mode & S_IWUSR)) a |= kReadOnly;
  if (name.size() > 1 && name[0] == u'.' && name != u"..") a |= kHidden;
  if (S_ISDIR(st.st_mode))
    a |= kDirectory;
  else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))
    a |= kSystem;
  else
    a |= kArchive;
  return a;
}

bool statOf(const std::string& path, struct stat& st) {
  if (::stat(path.c_str(), &st) == 0) return true;
  if (errno == ENOENT || errno == ENOTDIR) return false;
  raiseErrno(errno, rt::err::FileNotFound);
}

int32_t errorNumber(int errnum, int32_t missing, int32_t other) {
  switch (errnum) {
    case ENOENT: return missing;
    case ENOTDIR:
    case ELOOP: return rt::err::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return rt::err::PermissionDenied;
    case EEXIST: return rt::err::FileExists;
    case EXDEV: return 74;  // rename across file systems
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return rt::err::DiskFull;
    case ENAMETOOLONG: return rt::err::BadFileName;
    case EMFILE:
    case ENFILE: return 67;  // too many files
    case EIO: return rt::err::DeviceIO;
    default: return other;
  }
}

void raiseErrno(int errnum, int32_t missing) {
  rt::raise(errorNumber(errnum, missing, rt::err::PathFileAccess));
}

void checkNoFolderLinks(const std::string& path) {
  // Each prefix that ends a part: "a", "a/b", "a/b/c" (and "/a" ... for an
  // absolute path).
  for (size_t end = 0; end < path.size();) {
    end = path.find('/', end + 1);
    if (end == std::string::npos) end = path.size();
    std::string prefix = path.substr(0, end);
    struct stat st {};
    if (prefix.empty() || ::lstat(prefix.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) continue;
    if (::stat(prefix.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) refuse(path);
  }
}

void checkFolderOf(std::u16string_view path) {
  while (path.size() > 1 && isSeparator(path.back())) path.remove_suffix(1);
  checkNoFolderLinks(nativePath(splitPath(path).folder));
}

bool writable(const std::string& path, const struct stat& st) {
  return (st.st_mode & S_IWUSR) && ::access(path.c_str(), W_OK) == 0;
}

void checkNotProtected(const std::string& path) {
  if (path.empty()) refuse(path);
  std::string real = canonical(path);
  if (real.empty()) return;  // nothing there: the operation itself fails
  std::string home = homeFolder();
  if (real == "/" || (!home.empty() && real == canonical(home))) refuse(path);
}

}  // namespace rt::fs
