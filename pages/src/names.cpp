#include "names.h"

#include <unistd.h>

#include "rt/fspath.h"
#include "rt/text.h"

namespace halvorn {

namespace {

constexpr std::u16string_view kObjectPrefix = u"object:";

}  // namespace

std::string fsPath(std::u16string_view name) {
  if (!rt::fs::isNameable(name)) return {};
  return rt::fs::nativePath(name);
}

bool isRelative(std::u16string_view name) {
  return name.empty() || (name.front() != u'/' && name.front() != u'\\');
}

bool isObjectName(std::u16string_view name) {
  return name.size() >= kObjectPrefix.size() &&
         rt::equalsNoCase(name.substr(0, kObjectPrefix.size()), kObjectPrefix);
}

std::u16string_view progIdOf(std::u16string_view objectName) {
  return objectName.substr(kObjectPrefix.size());
}

std::u16string folderOf(std::u16string_view name) {
  return std::u16string(rt::fs::splitPath(name).folder);
}

std::u16string fileOf(std::u16string_view name) {
  return std::u16string(rt::fs::splitPath(name).name);
}

bool fileStatus(std::u16string_view name, struct stat& st) {
  std::string path = fsPath(name);
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool linkStatus(std::u16string_view name, struct stat& st) {
  std::string path = fsPath(name);
  return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

bool folderStatus(std::u16string_view name, struct stat& st) {
  std::u16string folder = folderOf(name);
  std::string path = folder.empty() ? std::string(".") : fsPath(folder);
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void removeFile(std::u16string_view name) {
  std::string path = fsPath(name);
  if (!path.empty()) ::unlink(path.c_str());
}

}  // namespace halvorn
