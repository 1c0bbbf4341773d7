#include "rt/shell.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "rt/error.h"
#include "rt/text.h"

namespace rt {

namespace {

// How the program starts: input from /dev/null, no blocked signals, and
// SIGPIPE and SIGXFSZ back to their defaults (the script's process ignores
// SIGXFSZ, and may ignore SIGPIPE).
class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions_);
    posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_init(&attr_);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGXFSZ);
    posix_spawnattr_setsigmask(&attr_, &none);
    posix_spawnattr_setsigdefault(&attr_, &defaults);
    posix_spawnattr_setflags(&attr_, kFlags);
  }
  ~SpawnSetup() {
    posix_spawnattr_destroy(&attr_);
    posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  // The program leads a process group of its own.
  void ownGroup() {
    posix_spawnattr_setpgroup(&attr_, 0);
    posix_spawnattr_setflags(&attr_, kFlags | POSIX_SPAWN_SETPGROUP);
  }

  // The program's process id, or -errno.
  pid_t spawn(char* const argv[]) const {
    pid_t pid = 0;
    int e = posix_spawnp(&pid, argv[0], &actions_, &attr_, argv, environ);
    return e ? -e : pid;
  }

 private:
  static constexpr short kFlags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attr_;
};

int32_t errorNumberOf(int e) {
  switch (e) {
    case ENOENT: case ENOTDIR: case ENAMETOOLONG: case ELOOP: return rt::err::FileNotFound;
    case EACCES: case EPERM: return rt::err::PermissionDenied;
    default: return rt::err::InvalidCall;
  }
}

bool readAll(int fd, void* buf, size_t n) {
  auto* p = static_cast<char*>(buf);
  while (n > 0) {
    ssize_t got = read(fd, p, n);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    p += got;
    n -= static_cast<size_t>(got);
  }
  return true;
}

// Starts the program from a go-between process that exits at once: the
// program is orphaned and init reaps it, so nothing is left for us to wait
// for and no SIGCHLD handler is needed (a host may install its own).  Only
// the go-between is waited for, right away.  Everything the go-between
// uses is prepared here, before the fork.
pid_t spawnDetached(const SpawnSetup& setup, char* const argv[]) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) rt::raise(rt::err::OutOfMemory);
  pid_t between = fork();
  if (between == 0) {
    close(fds[0]);
    pid_t started = setup.spawn(argv);
    ssize_t written = write(fds[1], &started, sizeof started);
    _exit(written == sizeof started ? 0 : 1);
  }
  close(fds[1]);
  pid_t started = -EAGAIN;
  if (between > 0) {
    if (!readAll(fds[0], &started, sizeof started)) started = -EIO;
    while (waitpid(between, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  close(fds[0]);
  return started;
}

}  // namespace

std::vector<std::string> splitCommandLine(std::u16string_view line) {
  std::vector<std::string> args;
  std::u16string arg;
  bool inArg = false, quoted = false;
  for (char16_t c : line) {
    if (c == u'\0') rt::raise(rt::err::InvalidCall);
    if (c == u'"') {
      quoted = !quoted;
      inArg = true;
    } else if (!quoted && (c == u' ' || c == u'\t')) {
      if (inArg) args.push_back(rt::toUtf8(arg));
      arg.clear();
      inArg = false;
    } else {
      arg += c;
      inArg = true;
    }
  }
  if (inArg) args.push_back(rt::toUtf8(arg));
  if (!args.empty()) std::replace(args[0].begin(), args[0].end(), '\\', '/');
  return args;
}

namespace {

// The program's argv, or error 5 for an empty program name.
std::vector<char*> argvOf(std::vector<std::string>& args) {
  if (args.empty() || args[0].empty()) rt::raise(rt::err::InvalidCall);
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return argv;
}

[[noreturn]] void raiseStartFailure(pid_t failure, const std::string& program) {
  rt::raise(errorNumberOf(-failure), rt::fromUtf8(program));
}

}  // namespace

int32_t startDetached(std::vector<std::string> args) {
  std::vector<char*> argv = argvOf(args);
  SpawnSetup setup;
  pid_t started = spawnDetached(setup, argv.data());
  if (started < 0) raiseStartFailure(started, args[0]);
  return started;
}

pid_t startChild(std::vector<std::string> args) {
  std::vector<char*> argv = argvOf(args);
  SpawnSetup setup;
  setup.ownGroup();
  pid_t started = setup.spawn(argv.data());
  if (started < 0) raiseStartFailure(started, args[0]);
  return started;
}

int32_t startProgram(std::u16string_view commandLine) {
  return startDetached(splitCommandLine(commandLine));
}

}  // namespace rt
