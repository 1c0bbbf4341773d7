// Yarrick, the application interface over the first-edition engine: what
// sets its edition apart, its classes and entry points.
#include "classes.h"
#include "edition.h"

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

const rt::ClassEntry kClasses[] = {APPIFACE_CLASSES("Yarrick")};

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
