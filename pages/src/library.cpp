// The classes of the page library and its entry points.
#include "incfile.h"
#include "pagesubs.h"
#include "qelcompile.h"
#include "rt/library.h"
#include "spage.h"

namespace halvorn {

// Carries the library's enumerations (qelInfoFlags, SaCallTypes; in C++
// they are in halvorn/spage.h) and has no members.
class QelEnums final : public rt::Automation<QelEnums> {
 public:
  static const rt::MemberTable<QelEnums>& members() {
    static const rt::MemberTable<QelEnums> table{u"QelEnums"};
    return table;
  }
};

}  // namespace halvorn

namespace {

template <class T>
rt::Ref<rt::Object> create() {
  return rt::make<T>();
}

#define HALVORN_CLASS(name) \
  { "Halvorn." #name, rt::classIdOf("Halvorn." #name), &create<halvorn::name> }

const rt::ClassEntry kClasses[] = {
    HALVORN_CLASS(QelCompile), HALVORN_CLASS(SPage),     HALVORN_CLASS(QelIncFile),
    HALVORN_CLASS(SvPageSubs), HALVORN_CLASS(SvNewPage), HALVORN_CLASS(QelEnums),
};

#undef HALVORN_CLASS

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
