#include "names.h"

#include <unistd.h>

#include "rt/text.h"

namespace halvorn {

namespace {

constexpr std::u16string_view kObjectPrefix = u"object:";

size_t lastSeparator(std::u16string_view name) { return name.find_last_of(u"/\\"); }

// The name the file system is given; empty for a name it cannot take.
std::string fsPath(std::u16string_view name) {
  if (name.find(u'\0') != std::u16string_view::npos) return {};
  std::u16string path(name);
  for (char16_t& c : path)
    if (c == u'\\') c = u'/';
  return rt::toUtf8(path);
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
  size_t sep = lastSeparator(name);
  return sep == std::u16string_view::npos ? std::u16string() : std::u16string(name.substr(0, sep + 1));
}

std::u16string fileOf(std::u16string_view name) {
  size_t sep = lastSeparator(name);
  return std::u16string(sep == std::u16string_view::npos ? name : name.substr(sep + 1));
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
