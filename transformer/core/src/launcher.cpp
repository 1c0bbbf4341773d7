#include "marlox/launcher.h"

#include "rt/error.h"
#include "rt/shell.h"

namespace marlox {

bool SystemLauncher::startDetached(const std::vector<std::string>& argv) {
  try {
    rt::startDetached(argv);
    return true;
  } catch (const rt::RuntimeError&) {
    return false;
  }
}

}  // namespace marlox
