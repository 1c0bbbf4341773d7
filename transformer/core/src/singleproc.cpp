#include "marlox/singleproc.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "rt/error.h"
#include "rt/fd.h"
#include "rt/shell.h"
#include "rt/uihost.h"

namespace marlox {

namespace {

// How often the end of a child looks whether its group is gone.
constexpr int32_t kGroupLookMs = 10;

void pause(int32_t ms) {
  timespec t{0, ms * 1000L * 1000L};
  ::nanosleep(&t, nullptr);
}

// Waits up to `ms` for the child to end, and reaps it when it has: true
// then (also when it cannot be waited for any more).  A process descriptor
// lets the wait end the moment the child does; without one (an old kernel)
// the child is looked at every few milliseconds.
bool waitStep(pid_t pid, const rt::Fd& pidFd, int32_t ms) {
  if (pidFd.get() >= 0) {
    pollfd p{pidFd.get(), POLLIN, 0};
    if (::poll(&p, 1, ms) < 0 && errno != EINTR) return true;
  }
  for (int32_t waited = 0;; waited += 5) {
    int status = 0;
    pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid || (r < 0 && errno != EINTR)) return true;
    if (pidFd.get() >= 0 || waited >= ms) return false;
    pause(5);
  }
}

// Ends the child and what it started in its process group (whatever did
// not move to a group of its own), and reaps the child: asked first, then
// killed when any of them is left after a second.
void endGroup(pid_t pid, const rt::Fd& pidFd) {
  ::kill(-pid, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  bool reaped = false;
  while (std::chrono::steady_clock::now() < deadline) {
    if (!reaped) reaped = waitStep(pid, pidFd, kGroupLookMs);
    else pause(kGroupLookMs);
    // The reaped child's id names its group for as long as the group has
    // a process, so it cannot be given to another meanwhile.
    if (reaped && ::kill(-pid, 0) != 0) return;
  }
  ::kill(-pid, SIGKILL);
  while (!reaped) reaped = waitStep(pid, pidFd, 100);
}

}  // namespace

bool SingleProc::exceProc(std::u16string_view cmdStr, int32_t) {
  pid_t pid = 0;
  try {
    pid = rt::startChild(rt::splitCommandLine(cmdStr));
  } catch (const rt::RuntimeError&) {
    return false;
  }
  rt::Fd pidFd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
  for (;;) {
    bool ended = waitStep(pid, pidFd, intervalMs_);
    rt::uiHost().yield();
    if (ended) return true;
    if (stop_ && stop_()) {
      endGroup(pid, pidFd);
      return true;
    }
  }
}

}  // namespace marlox
