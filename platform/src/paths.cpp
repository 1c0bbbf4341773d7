#include "rt/paths.h"

#include <errno.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "rt/fspath.h"
#include "rt/text.h"

namespace rt {

namespace {

bool isFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// One step: the folder exists afterwards, or false.
bool makeFolder(const std::string& path) {
  if (isFolder(path)) return true;
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  // Made meanwhile by someone else, which is as good.
  return errno == EEXIST && isFolder(path);
}

}  // namespace

std::u16string withSlashes(std::u16string_view path) {
  std::u16string s(path);
  std::replace(s.begin(), s.end(), u'\\', u'/');
  return s;
}

std::u16string folderPath(std::u16string_view path) {
  std::u16string s = withSlashes(path);
  if (s.empty() || s.back() != u'/') s += u'/';
  return s;
}

std::u16string pathFrom(std::u16string_view folder, std::u16string_view name) {
  std::u16string s = withSlashes(name);
  if (!s.empty() && s.front() == u'/') return s;
  return withSlashes(folder) + s;
}

bool makePath(std::u16string_view path) {
  if (!fs::isNameable(path)) return false;
  const std::string p = toUtf8(withSlashes(path));
  size_t from = 0;
  while (from < p.size()) {
    size_t slash = p.find('/', from);
    if (slash == std::string::npos) slash = p.size();
    // A leading separator and doubled ones make no step of their own.
    if (slash > from && !makeFolder(p.substr(0, slash))) return false;
    from = slash + 1;
  }
  return true;
}

}  // namespace rt
