#include "child.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace clitest {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

Result runIn(const fs::path& folder, std::vector<std::string> argv) {
  ChildRun r;
  r.argv = std::move(argv);
  r.folder = folder;
  return run(r);
}

Result run(const ChildRun& r) {
  const fs::path in = r.folder / ".stdin", out = r.folder / ".stdout", err = r.folder / ".stderr";
  write(in, r.input);
  std::vector<std::string> argv = r.argv, env = r.env;
  pid_t pid = fork();
  if (pid == 0) {
    int i = r.stdinFd >= 0 ? r.stdinFd : open(in.c_str(), O_RDONLY);
    int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (r.stdinFd >= 0) setsid();  // a terminal is only its input, not its controller
    dup2(i, 0), dup2(o, 1), dup2(e, 2);
    if (chdir(r.folder.c_str()) != 0) _exit(126);
    unsetenv("ZUB_CODEPAGE");
    unsetenv("ZUB_REGISTRY");
    setenv("LC_ALL", "en_US.UTF-8", 1);
    for (std::string& kv : env) putenv(kv.data());
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  Result result;
  const auto end = std::chrono::steady_clock::now() + r.limit;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > end) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      result.timedOut = true;
      break;
    }
    if (r.onWait) r.onWait(pid, slurp(out));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = slurp(out);
  result.err = slurp(err);
  return result;
}

}  // namespace clitest
