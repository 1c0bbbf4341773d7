// Whether the run that the code running now belongs to has been ended by
// the embedding program (IScriptHost::endRun).  The run is that of the
// innermost host running a line: a user function belongs to the run that
// calls it.  Everything runs on one thread.
#pragma once

namespace dovrel {

// For as long as it lives, a host runs a line: `running` is set, and
// `ended` is the host's mark that runEnded reads.
class HostRunning {
 public:
  HostRunning(bool& running, const bool& ended);
  ~HostRunning();
  HostRunning(const HostRunning&) = delete;
  HostRunning& operator=(const HostRunning&) = delete;

 private:
  bool& running_;
  const bool* outer_;
};

// False when no host runs a line.
bool runEnded();

}  // namespace dovrel
