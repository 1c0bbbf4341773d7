#include "members.h"

namespace appiface {

rt::MemberTable<Application> applicationMembers(std::initializer_list<AppMember> slotOrder) {
  using S = std::u16string;
  rt::MemberTable<Application> table(u"Application");
  for (AppMember m : slotOrder) {
    switch (m) {
      case AppMember::Error:
        table.get(u"Error", [](Application& a) { return rt::Ref<jespin::IErrInfo>(&a.error()); });
        break;
      case AppMember::SptPath:
        table.prop(u"SptPath", &Application::sptPath, [](Application& a, S s) { a.setSptPath(s); });
        break;
      case AppMember::SptFileName:
        table.prop(u"SptFileName", &Application::sptFileName,
                   [](Application& a, S s) { a.setSptFileName(s); });
        break;
      case AppMember::Host:
        table.get(u"Host", &Application::host);
        break;
      case AppMember::Execute:
        table.method(u"Execute", [](Application& a, S text) { a.execute(text); });
        break;
      case AppMember::ExecFile:
        table.method(u"ExecFile", [](Application& a, S name) { a.execFile(name); });
        break;
    }
  }
  return table;
}

const rt::MemberTable<SaEnums>& SaEnums::members() {
  static const rt::MemberTable<SaEnums> table{u"SaEnums"};
  return table;
}

}  // namespace appiface
