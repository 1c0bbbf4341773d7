#include "core/steps.h"

#include <string>

#include "rt/error.h"

namespace engine::steps {

namespace {
constexpr int32_t kUserInterrupt = 18;
}  // namespace

void setBudget(uint64_t limit, Check check) { budget = Budget{0, limit, check}; }

void clearBudget() { budget = Budget{}; }

void reached() {
  const char16_t* why = budget.check ? budget.check() : u"运行的步数达到上限";
  if (why) rt::raise(kUserInterrupt, why);
}

}  // namespace engine::steps
