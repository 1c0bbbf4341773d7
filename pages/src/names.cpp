#include "names.h"

#include <unistd.h>

#include "rt/fspath.h"
#include "rt/text.h"

namespace halvorn {

namespace {

constexpr std::u16string_view kObjectPrefix = u"object:";

// The name the file system is given; empty for a name it cannot take (a
// zero character), which then names no file rather than raising.
std::string fsPath(std::u16string_view name) {
  if (name.find(u'\0') != std::u16string_view::npos) return {};
  return rt::fs::nativePath(name);
}

}  // namespace

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

void removeFile(std::u16string_view name) {
  std::string path = fsPath(name);
  if (!path.empty()) ::unlink(path.c_str());
}

}  // namespace halvorn
