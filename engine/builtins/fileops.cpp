#include "builtins/fileops.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "rt/clock.h"
#include "rt/dirlist.h"
#include "rt/fspath.h"
#include "rt/wildcard.h"
#include "rt/error.h"
#include "rt/fd.h"
#include "rt/text.h"

namespace engine::fileops {

namespace {

using rt::fs::nativePath;

struct stat statOrRaise(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) rt::fs::raiseErrno(errno, rt::err::FileNotFound);
  return st;
}

// The last part of a path, the separators at its end left out.
std::u16string_view lastName(std::u16string_view path) {
  while (path.size() > 1 && (path.back() == u'/' || path.back() == u'\\')) path.remove_suffix(1);
  return rt::fs::splitPath(path).name;
}

}  // namespace

std::u16string currentFolder() {
  std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
  if (!cwd) rt::fs::raiseErrno(errno, rt::err::PathNotFound);
  return rt::fromUtf8(cwd.get());
}

void changeFolder(std::u16string_view path) {
  if (::chdir(nativePath(path).c_str()) != 0) rt::fs::raiseErrno(errno, rt::err::PathNotFound);
}

void changeDrive(std::u16string_view drive) {
  if (drive.empty() || drive[0] == u'/' || drive[0] == u'\\') return;
  rt::raise(68);  // device unavailable
}

rt::Date modifiedAt(std::u16string_view path) {
  struct stat st = statOrRaise(nativePath(path));
  return rt::dateTimeOf(rt::localTimeOf(st.st_mtim.tv_sec, static_cast<int32_t>(st.st_mtim.tv_nsec)));
}

int32_t fileLength(std::u16string_view path) {
  struct stat st = statOrRaise(nativePath(path));
  if (S_ISDIR(st.st_mode)) return 0;
  if (st.st_size > std::numeric_limits<int32_t>::max()) rt::raise(rt::err::Overflow);
  return static_cast<int32_t>(st.st_size);
}

int32_t attributes(std::u16string_view path) {
  return rt::fs::attributesOf(statOrRaise(nativePath(path)), lastName(path));
}

void setAttributes(std::u16string_view path, int32_t bits) {
  if (bits & ~(rt::fs::kReadOnly | rt::fs::kHidden | rt::fs::kSystem | rt::fs::kArchive))
    rt::raise(rt::err::InvalidCall);
  std::string p = nativePath(path);
  rt::fs::checkFolderOf(path);
  // The mode of a link is the file's it points to: changing it would write
  // through the link.
  struct stat own {};
  if (::lstat(p.c_str(), &own) == 0 && S_ISLNK(own.st_mode)) rt::raise(rt::err::PathFileAccess, path);
  struct stat st = statOrRaise(p);
  mode_t mode = st.st_mode & 07777;
  if (bits & rt::fs::kReadOnly)
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  else
    mode |= S_IWUSR;
  if (mode != (st.st_mode & 07777) && ::chmod(p.c_str(), mode) != 0)
    rt::fs::raiseErrno(errno, rt::err::FileNotFound);
}

void killFiles(std::u16string_view pattern) {
  rt::fs::PathParts parts = rt::fs::splitPath(pattern);
  if (parts.name.empty()) rt::raise(rt::err::BadFileName);
  std::string folder = nativePath(parts.folder);
  rt::fs::checkNoFolderLinks(folder);
  std::vector<std::u16string> names;
  if (rt::hasWildcards(parts.name)) {
    names = rt::matchingNames(pattern, 0);
  } else {
    // A name given in full is deleted also when hidden: here the name makes
    // a file hidden, and no attribute could be cleared first.
    names = rt::matchingNames(pattern, rt::fs::kHidden | rt::fs::kSystem);
  }
  if (names.empty()) rt::raise(rt::err::FileNotFound);
  for (const std::u16string& name : names) {
    std::string path = folder + nativePath(name);
    if (rt::fs::attributesOf(statOrRaise(path), name) & rt::fs::kReadOnly)
      rt::raise(rt::err::PathFileAccess, rt::fromUtf8(path));
    if (::unlink(path.c_str()) != 0) rt::fs::raiseErrno(errno, rt::err::FileNotFound);
  }
}

void makeFolder(std::u16string_view path) {
  rt::fs::checkFolderOf(path);
  if (::mkdir(nativePath(path).c_str(), 0777) == 0) return;
  if (errno == EEXIST) rt::raise(rt::err::PathFileAccess);
  rt::fs::raiseErrno(errno, rt::err::PathNotFound);
}

void removeFolder(std::u16string_view path) {
  std::string p = nativePath(path);
  rt::fs::checkNotProtected(p);
  rt::fs::checkNoFolderLinks(p);
  if (::rmdir(p.c_str()) == 0) return;
  if (errno == EEXIST) rt::raise(rt::err::PathFileAccess);  // not empty, on some systems
  rt::fs::raiseErrno(errno, rt::err::PathNotFound);
}

void rename(std::u16string_view from, std::u16string_view to) {
  std::string a = nativePath(from), b = nativePath(to);
  rt::fs::checkNotProtected(a);
  rt::fs::checkFolderOf(from);
  rt::fs::checkFolderOf(to);
  struct stat st {};
  if (::lstat(a.c_str(), &st) != 0) rt::fs::raiseErrno(errno, rt::err::FileNotFound);
  if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_NOREPLACE) == 0) return;
  if (errno != EINVAL && errno != ENOSYS) rt::fs::raiseErrno(errno, rt::err::PathNotFound);
  // A file system that cannot refuse by itself: look first.
  if (::lstat(b.c_str(), &st) == 0) rt::raise(rt::err::FileExists);
  if (::rename(a.c_str(), b.c_str()) != 0) rt::fs::raiseErrno(errno, rt::err::PathNotFound);
}

}  // namespace engine::fileops
