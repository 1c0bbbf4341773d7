#include "rt/paths.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "rt/fspath.h"
#include "rt/text.h"

namespace rt {

namespace {

bool isFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// One step: the folder exists afterwards, or false.  `made` tells whether
// this step made it.
bool makeFolder(const std::string& path, bool& made) {
  made = false;
  if (isFolder(path)) return true;
  if (::mkdir(path.c_str(), 0777) == 0) return made = true;
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
  const std::string p = fs::nativePath(path);
  std::vector<size_t> made;  // the lengths of the prefixes this call made
  size_t from = 0;
  while (from < p.size()) {
    size_t slash = p.find('/', from);
    if (slash == std::string::npos) slash = p.size();
    // A leading separator and doubled ones make no step of their own.
    bool madeNow = false;
    if (slash > from && !makeFolder(p.substr(0, slash), madeNow)) {
      // A path that cannot be made leaves nothing of itself behind.
      for (auto it = made.rbegin(); it != made.rend(); ++it) ::rmdir(p.substr(0, *it).c_str());
      return false;
    }
    if (madeNow) made.push_back(slash);
    from = slash + 1;
  }
  return true;
}

}  // namespace rt
