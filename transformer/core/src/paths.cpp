#include "marlox/paths.h"

#include <algorithm>

namespace marlox {

std::u16string withSlashes(std::u16string_view path) {
  std::u16string s(path);
  std::replace(s.begin(), s.end(), u'\\', u'/');
  return s;
}

std::u16string addBackslash(std::u16string_view path) {
  std::u16string s = withSlashes(path);
  if (s.empty() || s.back() != u'/') s += u'/';
  return s;
}

std::u16string absPath(std::u16string_view appPath, std::u16string_view path) {
  std::u16string s = withSlashes(path);
  if (s.empty()) return std::u16string(appPath);
  if (s.front() == u'/') return s;
  return std::u16string(appPath) + s;
}

}  // namespace marlox
