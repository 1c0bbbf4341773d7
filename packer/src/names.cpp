#include "names.h"

#include "rt/error.h"
#include "rt/paths.h"
#include "rt/text.h"

namespace wistel {

std::u16string_view unusableName(std::u16string_view name) {
  if (name.empty()) return u"名称为空";
  if (name == u"." || name == u"..") return u"名称指向上级或本级文件夹";
  if (name.find_first_of(std::u16string_view(u"/\\\0", 3)) != std::u16string_view::npos)
    return u"名称中含有路径分隔符或空字符";
  return {};
}

bool storable(std::u16string_view text) { return rt::fromAnsi(rt::toAnsi(text)) == text; }

std::u16string folderPath(std::u16string_view dirPath) {
  if (dirPath.empty()) rt::raise(rt::err::BadFileName, u"没有指定文件夹");
  return rt::folderPath(dirPath);
}

bool isTextName(std::string_view native) { return rt::toUtf8(rt::fromUtf8(native)) == native; }

}  // namespace wistel
