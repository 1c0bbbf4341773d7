#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "child.h"

namespace zubruntest {

Outcome runZubrun(const std::string& script, const Limits& limits) {
  TempDir dir;
  const std::string outPath = limits.output.empty() ? dir.at("out") : limits.output;
  const std::string errPath = dir.at("err");
  int pipeFds[2] = {-1, -1};
  if (limits.output == "pipe-closed" && ::pipe(pipeFds) != 0) return {};
  pid_t pid = ::fork();
  if (pid == 0) {
    if (limits.stackBytes) {
      rlimit r{limits.stackBytes, limits.stackBytes};
      ::setrlimit(RLIMIT_STACK, &r);
    }
    if (limits.addressSpace) {
      rlimit r{limits.addressSpace, limits.addressSpace};
      ::setrlimit(RLIMIT_AS, &r);
    }
    if (limits.fileSize) {
      rlimit r{limits.fileSize, limits.fileSize};
      ::setrlimit(RLIMIT_FSIZE, &r);
    }
    int in = ::open("/dev/null", O_RDONLY);
    int out = pipeFds[1] >= 0 ? pipeFds[1] : ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (pipeFds[0] >= 0) ::close(pipeFds[0]);  // nobody reads
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    // As a shell starts it: this process's runtime ignores SIGXFSZ.
    ::signal(SIGPIPE, SIG_DFL);
    ::signal(SIGXFSZ, SIG_DFL);
    ::unsetenv("ZUB_REGISTRY");
    ::unsetenv("ZUB_CODEPAGE");
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    ::execl(ZUBRUN, ZUBRUN, "--edition", limits.edition.c_str(), script.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (pipeFds[0] >= 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
  }
  Outcome o;
  int status = 0;
  rusage usage{};
  if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) return o;
  if (WIFEXITED(status)) o.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) o.signal = WTERMSIG(status);
  o.peakKb = usage.ru_maxrss;
  if (limits.output.empty()) o.out = clitest::slurp(outPath);
  o.err = clitest::slurp(errPath);
  return o;
}

}  // namespace zubruntest
