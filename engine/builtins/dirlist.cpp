#include "builtins/dirlist.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "builtins/fspath.h"
#include "builtins/wildcard.h"
#include "rt/error.h"
#include "rt/text.h"

namespace engine {

namespace {

// The bits that keep an entry out of a listing unless asked for.
constexpr int32_t kExclusive = fs::kHidden | fs::kSystem | fs::kDirectory;

bool admits(int32_t mask, const std::string& path, std::u16string_view name) {
  struct stat st {};
  // A broken symbolic link still names an entry, which can be removed.
  if (!fs::statOf(path, st) && ::lstat(path.c_str(), &st) != 0) return false;
  return (fs::attributesOf(st, name) & kExclusive & ~mask) == 0;
}

bool byName(const std::u16string& a, const std::u16string& b) {
  int c = rt::compareNoCase(a, b);
  return c != 0 ? c < 0 : a < b;  // names that differ in case only: a fixed order
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

std::vector<std::u16string> matchingNames(std::u16string_view pattern, int32_t mask) {
  std::vector<std::u16string> names;
  if (mask == fs::kVolume) return names;
  fs::PathParts parts = fs::splitPath(pattern);
  std::string folder = fs::nativePath(parts.folder);
  if (!parts.name.empty() && !hasWildcards(parts.name)) {
    if (admits(mask, folder + fs::nativePath(parts.name), parts.name)) names.emplace_back(parts.name);
    return names;
  }
  std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) {
    if (errno == ENOENT || errno == ENOTDIR) return names;
    fs::raiseErrno(errno, rt::err::PathNotFound);
  }
  std::u16string_view wanted = parts.name.empty() ? std::u16string_view(u"*") : parts.name;
  while (const dirent* e = ::readdir(dir.get())) {
    std::u16string name = rt::fromUtf8(e->d_name);
    if (matchesWildcard(wanted, name) && admits(mask, folder + e->d_name, name))
      names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), byName);
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

}  // namespace engine
