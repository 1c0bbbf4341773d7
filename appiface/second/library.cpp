// Trevane, the application interface over the second-edition engine: its
// classes and entry points.
#include "application.h"
#include "appsubs.h"
#include "edition.h"
#include "kestrin/values.h"
#include "members.h"
#include "rt/library.h"

namespace appiface {

const Edition kEdition{u"Trevane", kestrin::kSvSingleClsid, true};

const rt::MemberTable<Application>& Application::members() {
  using enum AppMember;
  static const auto table =
      applicationMembers({Error, SptPath, SptFileName, Host, Execute, ExecFile});
  return table;
}

}  // namespace appiface

namespace {

template <class T>
rt::Ref<rt::Object> create() {
  return rt::make<T>();
}

#define TREVANE_CLASS(name) \
  { "Trevane." #name, rt::classIdOf("Trevane." #name), &create<appiface::name> }

const rt::ClassEntry kClasses[] = {
    TREVANE_CLASS(Application),
    TREVANE_CLASS(SvAppSubs),
    TREVANE_CLASS(SaEnums),
};

#undef TREVANE_CLASS

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
