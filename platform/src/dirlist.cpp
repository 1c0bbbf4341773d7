#include "rt/dirlist.h"

#include <dirent.h>
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "rt/error.h"
#include "rt/fd.h"
#include "rt/fspath.h"
#include "rt/text.h"
#include "rt/wildcard.h"

namespace rt {

namespace {

// The bits that keep an entry out of a listing unless asked for.
constexpr int32_t kExclusive = fs::kHidden | fs::kSystem | fs::kDirectory;

bool admits(int32_t mask, const std::string& path, std::u16string_view name) {
  struct stat st {};
  // A broken symbolic link still names an entry, which can be removed.
  if (!fs::statOf(path, st) && ::lstat(path.c_str(), &st) != 0) return false;
  return (fs::attributesOf(st, name) & kExclusive & ~mask) == 0;
}

bool byName(const FolderEntry& a, const FolderEntry& b) {
  int c = rt::compareNoCase(a.name, b.name);
  return c != 0 ? c < 0 : a.native < b.native;  // names that differ in case only: a fixed order
}

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};

struct Search {
  std::vector<std::u16string> names;
  size_t next = 0;
};

// One per process, shared by every script and host.
Search& search() {
  static Search s;
  return s;
}

}  // namespace

std::vector<FolderEntry> listFolder(int dirFd) {
  // A descriptor of its own for the stream, which closes it.
  int fd = ::fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) fs::raiseErrno(errno, rt::err::PathNotFound);
  std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
  if (!dir) {
    int e = errno;
    ::close(fd);
    fs::raiseErrno(e, rt::err::PathNotFound);
  }
  ::rewinddir(dir.get());  // the duplicate shares the position of `dirFd`
  std::vector<FolderEntry> entries;
  errno = 0;
  while (const dirent* e = ::readdir(dir.get())) {
    entries.push_back({e->d_name, rt::fromUtf8(e->d_name)});
    errno = 0;
  }
  if (errno != 0) fs::raiseErrno(errno, rt::err::PathNotFound);
  std::sort(entries.begin(), entries.end(), byName);
  return entries;
}

std::vector<std::u16string> matchingNames(std::u16string_view pattern, int32_t mask) {
  // Refused as any other name is, though wildcards would match no entry.
  if (!fs::isNameable(pattern)) rt::raise(rt::err::BadFileName);
  std::vector<std::u16string> names;
  if (mask == fs::kVolume) return names;
  fs::PathParts parts = fs::splitPath(pattern);
  std::string folder = fs::nativePath(parts.folder);
  if (!parts.name.empty() && !hasWildcards(parts.name)) {
    if (admits(mask, folder + fs::nativePath(parts.name), parts.name)) names.emplace_back(parts.name);
    return names;
  }
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return names;
    fs::raiseErrno(errno, rt::err::PathNotFound);
  }
  Fd open(fd);
  std::u16string_view wanted = parts.name.empty() ? std::u16string_view(u"*") : parts.name;
  for (FolderEntry& e : listFolder(fd))
    if (matchesWildcard(wanted, e.name) && admits(mask, folder + e.native, e.name))
      names.push_back(std::move(e.name));
  return names;
}

std::u16string startSearch(std::u16string_view pattern, int32_t mask) {
  Search& s = search();
  s.names = matchingNames(pattern, mask);
  s.next = 0;
  return continueSearch();
}

std::u16string continueSearch() {
  Search& s = search();
  if (s.next >= s.names.size()) {
    s.names.clear();  // done: let the memory go
    s.next = 0;
    return {};
  }
  return s.names[s.next++];
}

}  // namespace rt
