#include "rt/paths.h"

#include <errno.h>
#include <sys/stat.h>

#include <string>

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

bool makePath(std::u16string_view path) {
  // A zero character would cut the name short and make another folder.
  if (path.find(u'\0') != std::u16string_view::npos) return false;
  std::string p = toUtf8(path);
  for (char& c : p)
    if (c == '\\') c = '/';
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
