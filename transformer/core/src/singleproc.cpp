#include "marlox/singleproc.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "rt/error.h"
#include "rt/fd.h"
#include "rt/shell.h"
#include "rt/uihost.h"

namespace marlox {

namespace {

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
    timespec pause{0, 5 * 1000 * 1000};
    ::nanosleep(&pause, nullptr);
  }
}

// Ends the child and reaps it: asked first, then killed when it has not
// ended within a second.
void endChild(pid_t pid, const rt::Fd& pidFd) {
  ::kill(pid, SIGTERM);
  if (waitStep(pid, pidFd, 1000)) return;
  ::kill(pid, SIGKILL);
  while (!waitStep(pid, pidFd, 100)) {
  }
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
      endChild(pid, pidFd);
      return true;
    }
  }
}

}  // namespace marlox
