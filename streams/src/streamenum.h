// StreamEnum: the values of StreamDir by name, for scripts and other
// late-bound callers.
#pragma once

#include "nubrel/vstream.h"
#include "rt/dispatch.h"

namespace nubrel {

class StreamEnum final : public rt::Automation<StreamEnum, IStreamEnum> {
 public:
  static const rt::MemberTable<StreamEnum>& members();
};

}  // namespace nubrel
