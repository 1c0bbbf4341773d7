#include "marlox/folderops.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "rt/copyfile.h"
#include "rt/dirlist.h"
#include "rt/error.h"
#include "rt/fd.h"
#include "rt/fspath.h"
#include "rt/paths.h"
#include "rt/text.h"
#include "rt/uihost.h"

namespace marlox {

namespace {

bool isDotName(std::u16string_view name) { return !name.empty() && name.front() == u'.'; }

// `path` (a file-system name) made absolute, with every part that exists
// resolved (links, "." and "..") and the rest worked out by name, so that
// two names of one folder compare equal even when it does not exist yet.
std::string resolvedPath(const std::string& path) {
  std::string cur = "/";
  std::string rest = path;
  if (rest.empty() || rest.front() != '/') {
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    if (cwd) rest = std::string(cwd.get()) + "/" + rest;
  }
  size_t from = 0;
  while (from <= rest.size()) {
    size_t slash = rest.find('/', from);
    if (slash == std::string::npos) slash = rest.size();
    std::string part = rest.substr(from, slash - from);
    from = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      size_t cut = cur.find_last_of('/');
      cur = cut == 0 ? "/" : cur.substr(0, cut);
      continue;
    }
    std::string next = cur == "/" ? "/" + part : cur + "/" + part;
    char real[PATH_MAX];
    cur = ::realpath(next.c_str(), real) ? std::string(real) : next;
  }
  return cur;
}

// Whether the folder `inner` is `outer` or lies inside it.
bool isWithin(const std::string& inner, const std::string& outer) {
  if (outer == "/") return true;
  return inner == outer || (inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
                            inner[outer.size()] == '/');
}

// The entries of a folder, sorted; raises the runtime's error when it
// cannot be read.  The folder itself is opened as named.
std::vector<rt::FolderEntry> entriesOf(const std::string& folder, int extraFlags, rt::Fd& fd) {
  fd = rt::Fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | extraFlags));
  if (fd.get() < 0) rt::fs::raiseErrno(errno, rt::err::PathNotFound);
  return rt::listFolder(fd.get());
}

// One level of dirCopy: `src` and `dst` are folder paths ending in "/".
bool copyLevel(const std::u16string& src, const std::u16string& dst) {
  if (!makePath(dst)) {
    showErr(msg::targetNotMade(dst));
    return false;
  }
  try {
    rt::Fd fd(-1);
    std::vector<std::u16string> folders;
    for (const rt::FolderEntry& e : entriesOf(rt::fs::nativePath(src), 0, fd)) {
      if (isDotName(e.name)) continue;
      struct stat st {};
      if (::fstatat(fd.get(), e.native.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        rt::fs::raiseErrno(errno, rt::err::FileNotFound);
      if (S_ISDIR(st.st_mode)) {
        folders.push_back(e.name);
        continue;
      }
      // A link is copied as the file it names; a link to a folder is not
      // followed, and devices, pipes and sockets are no files to copy.
      if (S_ISLNK(st.st_mode) && ::fstatat(fd.get(), e.native.c_str(), &st, 0) != 0) continue;
      if (S_ISREG(st.st_mode)) rt::fs::copyFile(src + e.name, dst + e.name);
    }
    for (const std::u16string& name : folders) copyLevel(src + name + u"/", dst + name + u"/");
    return true;
  } catch (const rt::RuntimeError& e) {
    showErr(e.description());
    return false;
  }
}

// One level of removeDir: `dir` names a folder (no "/" at its end).
bool removeLevel(const std::string& dir) {
  rt::Fd fd(-1);
  std::vector<std::string> folders;
  for (const rt::FolderEntry& e : entriesOf(dir, O_NOFOLLOW, fd)) {
    if (e.native == "." || e.native == ".." || isDotName(e.name)) continue;
    struct stat st {};
    if (::fstatat(fd.get(), e.native.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (S_ISDIR(st.st_mode)) {
      folders.push_back(e.native);
      continue;
    }
    if (S_ISREG(st.st_mode) && !rt::fs::writable(dir + "/" + e.native, st)) return false;
    if (::unlinkat(fd.get(), e.native.c_str(), 0) != 0) return false;
  }
  for (const std::string& name : folders)
    if (!removeLevel(dir + "/" + name)) return false;
  return ::rmdir(dir.c_str()) == 0;
}

}  // namespace

bool makePath(std::u16string_view path) { return rt::makePath(path); }

bool dirCopy(std::u16string_view src, std::u16string_view dst) {
  std::u16string from = folderWithBackslash(src), to = folderWithBackslash(dst);
  try {
    std::string source = rt::fs::nativePath(from);
    char real[PATH_MAX];
    if (::realpath(source.c_str(), real) && isWithin(resolvedPath(rt::fs::nativePath(to)), real)) {
      showErr(msg::targetNotMade(to));
      return false;
    }
  } catch (const rt::RuntimeError& e) {
    showErr(e.description());
    return false;
  }
  return copyLevel(from, to);
}

bool removeDir(std::u16string_view path) {
  try {
    std::string dir = rt::fs::nativePath(folderWithBackslash(path));
    if (dir.size() > 1) dir.pop_back();
    rt::fs::checkNotProtected(dir);
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) return false;
    if (S_ISLNK(st.st_mode)) return ::unlink(dir.c_str()) == 0;
    return S_ISDIR(st.st_mode) && removeLevel(dir);
  } catch (const rt::RuntimeError&) {
    return false;
  }
}

void showErr(std::u16string_view message, std::u16string_view title) {
  std::u16string boxTitle = title.empty() ? msg::join({msg::kAppTitle, msg::kShowErrTitleTail})
                                          : std::u16string(title);
  rt::uiHost().beep();
  rt::uiHost().messageBox(msg::showErrText(message), rt::mb::Critical | rt::mb::OkOnly, boxTitle);
}

}  // namespace marlox
