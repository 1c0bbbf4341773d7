// Whether the run that the code running now belongs to has been ended by
// the embedding program (IScriptHost::endRun).  The run is that of the
// innermost host running a line: a user function belongs to the run that
// calls it.  Everything runs on one thread.
#pragma once

namespace dovrel {

namespace runend {
// The mark of the innermost host running a line, or null.  Read before
// every line and at every yield, so it is read inline.
inline const bool* innermost = nullptr;
}  // namespace runend

// For as long as it lives, a host runs a line: `running` is set, and
// `ended` is the host's mark that runEnded reads.
class HostRunning {
 public:
  HostRunning(bool& running, const bool& ended) : running_(running), outer_(runend::innermost) {
    running_ = true;
    runend::innermost = &ended;
  }
  ~HostRunning() {
    running_ = false;
    runend::innermost = outer_;
  }
  HostRunning(const HostRunning&) = delete;
  HostRunning& operator=(const HostRunning&) = delete;

 private:
  bool& running_;
  const bool* outer_;
};

// False when no host runs a line.
inline bool runEnded() { return runend::innermost && *runend::innermost; }

}  // namespace dovrel
