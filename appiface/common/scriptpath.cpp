#include "scriptpath.h"

#include <algorithm>

#include "rt/fspath.h"

namespace appiface {

namespace {

std::u16string withSlashes(std::u16string_view path) {
  std::u16string s(path);
  std::replace(s.begin(), s.end(), u'\\', u'/');
  return s;
}

}  // namespace

std::u16string folderPath(std::u16string_view path) {
  std::u16string s = withSlashes(path);
  if (s.empty() || s.back() != u'/') s += u'/';
  return s;
}

std::u16string scriptName(std::u16string_view sptPath, std::u16string_view name) {
  std::u16string s = withSlashes(name);
  if (!s.empty() && s.front() == u'/') return s;
  return withSlashes(sptPath) + s;
}

std::u16string folderOf(std::u16string_view fullName) {
  return std::u16string(rt::fs::splitPath(fullName).folder);
}

std::u16string fileOf(std::u16string_view fullName) {
  return std::u16string(rt::fs::splitPath(fullName).name);
}

}  // namespace appiface
