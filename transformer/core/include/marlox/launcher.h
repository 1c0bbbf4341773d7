// Starting another program detached, through the runtime: the program does
// not wait for it and leaves no child behind.
#pragma once

#include "marlox/ports.h"

namespace marlox {

class SystemLauncher final : public LauncherPort {
 public:
  bool startDetached(const std::vector<std::string>& argv) override;
};

}  // namespace marlox
