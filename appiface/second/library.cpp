// Trevane, the application interface over the second-edition engine: what
// sets its edition apart, its classes and entry points.
#include "classes.h"
#include "edition.h"
#include "kestrin/values.h"

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

const rt::ClassEntry kClasses[] = {APPIFACE_CLASSES("Trevane")};

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
