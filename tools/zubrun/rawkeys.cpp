#include "rawkeys.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <iterator>

namespace zubrun {

namespace {

// What a signal handler needs to put the terminal back: set before the
// handlers are installed, only read by them.
volatile sig_atomic_t g_fd = -1;
termios g_saved;

constexpr int kSignals[] = {SIGINT, SIGQUIT, SIGHUP, SIGTERM};
constexpr size_t kSignalCount = std::size(kSignals);
struct sigaction g_previous[kSignalCount];

void restoreHandlers() {
  for (size_t i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &g_previous[i], nullptr);
}

// Puts the terminal back, then lets the signal do what it did before: by
// default, or through the handler that removes temporary files.
extern "C" void restoreAndRaise(int sig) {
  if (g_fd >= 0) tcsetattr(g_fd, TCSANOW, &g_saved);
  for (size_t i = 0; i < kSignalCount; ++i)
    if (kSignals[i] == sig) sigaction(sig, &g_previous[i], nullptr);
  raise(sig);
}

}  // namespace

RawKeys::RawKeys(std::FILE* in) {
  const int fd = fileno(in);
  if (fd < 0 || !isatty(fd) || tcgetattr(fd, &saved_) != 0) return;
  termios raw = saved_;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  g_saved = saved_;
  g_fd = fd;
  struct sigaction sa {};
  sa.sa_handler = restoreAndRaise;
  sigemptyset(&sa.sa_mask);
  for (size_t i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &sa, &g_previous[i]);
  if (tcsetattr(fd, TCSANOW, &raw) != 0) {
    restoreHandlers();
    g_fd = -1;
    return;
  }
  fd_ = fd;
}

RawKeys::~RawKeys() {
  if (fd_ < 0) return;
  tcsetattr(fd_, TCSANOW, &saved_);
  restoreHandlers();
  g_fd = -1;
}

}  // namespace zubrun
