#include "unicodefile.h"

namespace jespin {

const rt::MemberTable<UnicodeFile>& UnicodeFile::members() {
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<UnicodeFile>(u"UnicodeFile")
          .method(u"OpenWrit", [](UnicodeFile& u, S fn) { return u.openWrit(fn); })
          .method(u"OpenAppend", [](UnicodeFile& u, S fn) { return u.openAppend(fn); })
          .method(u"OpenRead", [](UnicodeFile& u, S fn) { return u.openRead(fn); })
          .method(u"CloseFile", &UnicodeFile::closeFile)
          .prop(u"Line", &UnicodeFile::line, [](UnicodeFile& u, const rt::Variant& v) {
                  rt::withText(v, [&](std::u16string_view s) { u.setLine(s); });
                })
          .byDefault()
          .get(u"IsEOF", &UnicodeFile::isEOF);
  return table;
}

}  // namespace jespin
