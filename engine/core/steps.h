// A budget of steps, for programs that run scripts they cannot trust to end
// (the fuzz targets): a step is one statement run, or one run of the lines
// inside a compound statement, so every pass of a loop counts, an empty one
// too.  Without a budget a step costs one increment and one compare.
//
// When the count reaches the budget, the check set with it decides: a
// reason ends the run with error 18 (user interrupt) naming it, none lets
// the run go on (the check may set a new budget first).  The count and the
// budget are the process's: everything runs on one thread.
#pragma once

#include <cstdint>
#include <limits>

namespace engine::steps {

// The reason to stop, or null to go on.
using Check = const char16_t* (*)();

struct Budget {
  uint64_t count = 0;
  uint64_t limit = std::numeric_limits<uint64_t>::max();
  Check check = nullptr;
};

inline Budget budget;

// Counts from 0 again; `check` is asked at `limit` steps.
void setBudget(uint64_t limit, Check check);
// No budget any more.
void clearBudget();

// The budget is reached: raises when the check gives a reason.
void reached();

// One step.
inline void take() {
  if (++budget.count >= budget.limit) reached();
}

}  // namespace engine::steps
