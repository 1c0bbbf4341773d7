// Runs one external command line and waits until its process ends, letting
// the message loop run in between, so the window stays responsive while the
// command works.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace marlox {

class SingleProc {
 public:
  // Starts `cmdStr` (split as the engine's Shell splits it: quotes group,
  // no shell, so no pipes or redirection; standard input from /dev/null)
  // in a process group of its own, and waits for its end in steps of the
  // wait interval, yielding once after each step.  False when it cannot be
  // started.  `winStyle` is taken for the callers' sake: there is no
  // window to style here.
  bool exceProc(std::u16string_view cmdStr, int32_t winStyle);

  int32_t waitInterval() const { return intervalMs_; }
  void setWaitInterval(int32_t ms) { intervalMs_ = ms; }

  // Asked after each yield: when it answers true (the program is ending)
  // the process is ended with everything it started in its process group
  // (SIGTERM, then SIGKILL to what is left a second later) and exceProc
  // returns true.
  void endWhen(std::function<bool()> stop) { stop_ = std::move(stop); }

 private:
  int32_t intervalMs_ = 100;
  std::function<bool()> stop_;
};

}  // namespace marlox
