#include "scriptpath.h"

#include "rt/error.h"
#include "rt/fspath.h"
#include "rt/paths.h"

namespace appiface {

std::u16string folderPath(std::u16string_view path) { return rt::folderPath(path); }

std::u16string scriptName(std::u16string_view sptPath, std::u16string_view name) {
  if (!rt::fs::isNameable(name)) rt::raise(rt::err::BadFileName);
  return rt::pathFrom(sptPath, name);
}

std::u16string folderOf(std::u16string_view fullName) {
  return std::u16string(rt::fs::splitPath(fullName).folder);
}

std::u16string fileOf(std::u16string_view fullName) {
  return std::u16string(rt::fs::splitPath(fullName).name);
}

}  // namespace appiface
