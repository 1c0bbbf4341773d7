// A file that reaches the size limit of the process (ulimit -f) is a write
// failure like a full disk: the write fails with EFBIG, which every writer
// reports as such, removing its temporary file.  By default the system
// sends SIGXFSZ first, which ends the process and leaves that file behind,
// so the signal is ignored wherever the runtime is loaded: in every program
// and in every host of the libraries.  A handler the host installed itself
// is left alone; programs the runtime starts get the default back (shell.cpp).
#include <signal.h>

namespace rt {

namespace {

[[maybe_unused]] const bool sizeLimitFailsWrites = [] {
  struct sigaction current {};
  if (::sigaction(SIGXFSZ, nullptr, &current) != 0) return false;
  if (!(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigemptyset(&ignore.sa_mask);
    return ::sigaction(SIGXFSZ, &ignore, nullptr) == 0;
  }
  return true;
}();

}  // namespace

}  // namespace rt
