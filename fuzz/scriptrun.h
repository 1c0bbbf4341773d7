// Running a script under fuzzing, on either edition's engine (this file is
// built into each engine's harness, against that engine's objects): a
// budget of steps (loops and recursion can be endless) and of memory (a
// loop can double a text each pass), a work folder of its own that starts
// empty, and output that goes nowhere.
#pragma once

#include <string_view>

#include "engine/hostevents.h"
#include "jespin/errinfo.h"
#include "rt/error.h"
#include "rt/object.h"

namespace fuzz {

// Whether a script (its text, or the bytes of a compiled one) is not run:
// it names a function never run while fuzzing (sandbox.h).
bool refusedScript(std::u16string_view text);
bool refusedScript(std::string_view bytes);

// One run, for as long as it lives: the budget set and the work folder
// entered; both left at the end.
class ScriptRun {
 public:
  ScriptRun();
  ~ScriptRun();
  ScriptRun(const ScriptRun&) = delete;
  ScriptRun& operator=(const ScriptRun&) = delete;
};

// Events of a host that write nowhere, unless ZUB_FUZZ_VERBOSE is set (to
// look into an input): then to standard error.
rt::Ref<engine::ScriptHostEvents> quietEvents();

// With ZUB_FUZZ_VERBOSE, prints the error a run ended with.
void report(jespin::IErrInfo& e);
void report(const rt::RuntimeError& raised);

}  // namespace fuzz
