#include "runend.h"

namespace dovrel {

namespace {

// The mark of the innermost host running a line, or null.
const bool* innermost = nullptr;

}  // namespace

HostRunning::HostRunning(bool& running, const bool& ended)
    : running_(running), outer_(innermost) {
  running_ = true;
  innermost = &ended;
}

HostRunning::~HostRunning() {
  running_ = false;
  innermost = outer_;
}

bool runEnded() { return innermost && *innermost; }

}  // namespace dovrel
