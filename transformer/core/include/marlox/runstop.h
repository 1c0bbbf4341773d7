// Stopping the scripts that run when the program is asked to end: the run
// of every running first-edition host is ended, so that its loop, of
// whatever kind, ends at its next yield and no further line of it runs.
// A run may begin while the stop holds, so the stop is asserted again at
// every yield: the runs' yields go through a UI host of this stop, which
// hands everything else on.
#pragma once

#include <vector>

#include "rt/uihost.h"
#include "yarrick/application.h"

namespace marlox {

class RunStop {
 public:
  RunStop() = default;
  ~RunStop();
  RunStop(const RunStop&) = delete;
  RunStop& operator=(const RunStop&) = delete;

  // A run begins and ends (innermost last); the stop is let go when the
  // outermost one ends.
  void begin(yarrick::IApplication& app) { running_.push_back(&app); }
  void end();
  // Whether a run is going on.
  bool active() const { return !running_.empty(); }

  // Asks every running script to stop, now and at each later yield.
  void request();
  bool requested() const { return requested_; }

 private:
  class YieldHost;
  void assertStop();

  std::vector<yarrick::IApplication*> running_;
  bool requested_ = false;
  // The UI host in place before the stop took the yields, while it does
  // (null for the headless one).
  rt::Ref<rt::UiHost> previous_;
};

}  // namespace marlox
