#include "rt/paths.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "rt/text.h"

namespace rt {

namespace {

bool isFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Makes one folder whose parent exists; true when it is there afterwards.
bool makeFolder(const std::string& path) {
  if (isFolder(path)) return true;
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  // Made meanwhile by someone else is as good as made here.
  return errno == EEXIST && isFolder(path);
}

}  // namespace

bool makePath(std::u16string_view path) {
  if (path.find(u'\0') != std::u16string_view::npos) return false;
  std::string p = toUtf8(path);
  for (char& c : p)
    if (c == '\\') c = '/';
  // Each prefix that ends a part: "a", "a/b", ... ("/a", "/a/b" ... when
  // absolute); repeated separators make no empty parts.
  for (size_t i = 1; i <= p.size(); ++i) {
    bool endsPart = i == p.size() || p[i] == '/';
    if (!endsPart || p[i - 1] == '/') continue;
    if (!makeFolder(p.substr(0, i))) return false;
  }
  return true;
}

}  // namespace rt
