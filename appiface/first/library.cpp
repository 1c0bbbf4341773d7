// Yarrick, the application interface over the first-edition engine: its
// classes and entry points.
#include "application.h"
#include "appsubs.h"
#include "edition.h"
#include "members.h"
#include "rt/library.h"

namespace appiface {

const Edition kEdition{u"Yarrick", rt::classIdOf("Dovrel.SvSingle"), false};

const rt::MemberTable<Application>& Application::members() {
  using enum AppMember;
  static const auto table =
      applicationMembers({Error, SptPath, Host, Execute, ExecFile, SptFileName});
  return table;
}

}  // namespace appiface

namespace {

template <class T>
rt::Ref<rt::Object> create() {
  return rt::make<T>();
}

#define YARRICK_CLASS(name) \
  { "Yarrick." #name, rt::classIdOf("Yarrick." #name), &create<appiface::name> }

const rt::ClassEntry kClasses[] = {
    YARRICK_CLASS(Application),
    YARRICK_CLASS(SvAppSubs),
    YARRICK_CLASS(SaEnums),
};

#undef YARRICK_CLASS

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
