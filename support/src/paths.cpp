#include "paths.h"

#include <sys/stat.h>

#include "rt/fspath.h"

namespace jespin {

std::string fsPath(std::u16string_view path) {
  return rt::fs::isNameable(path) ? rt::fs::nativePath(path) : std::string();
}

bool isAbsolutePath(std::u16string_view path) {
  if (path.empty()) return false;
  if (path[0] == u'/' || path[0] == u'\\') return true;
  return path.size() > 1 && path[1] == u':';
}

size_t lastSeparator(std::u16string_view path) { return path.find_last_of(u"/\\"); }

namespace {

bool statOf(std::u16string_view path, struct stat& st) {
  if (path.empty()) return false;
  return ::stat(fsPath(path).c_str(), &st) == 0;
}

}  // namespace

bool isFolder(std::u16string_view path) {
  struct stat st {};
  return statOf(path, st) && S_ISDIR(st.st_mode);
}

bool isFile(std::u16string_view path) {
  struct stat st {};
  return statOf(path, st) && !S_ISDIR(st.st_mode);
}

}  // namespace jespin
