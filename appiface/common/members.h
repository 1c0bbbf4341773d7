// The late-bound members of the public classes.  Application's are the
// same in both editions but for their slot order, which each library gives.
#pragma once

#include <initializer_list>

#include "application.h"
#include "rt/dispatch.h"

namespace appiface {

enum class AppMember { Error, SptPath, SptFileName, Host, Execute, ExecFile };

// Application's members in `slotOrder`.
rt::MemberTable<Application> applicationMembers(std::initializer_list<AppMember> slotOrder);

// SaEnums: the carrier of the call types (yarrick::SaCallTypes), with no
// members.
class SaEnums final : public rt::Automation<SaEnums> {
 public:
  static const rt::MemberTable<SaEnums>& members();
};

}  // namespace appiface
