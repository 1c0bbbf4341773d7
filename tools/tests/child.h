// Runs a program as a child for the command-line tests: in a given folder,
// with standard input from a text or a file descriptor, a plain environment
// (no ZUB_CODEPAGE or ZUB_REGISTRY, the English locale) plus what a test
// adds, and a time limit.  Standard output and error are kept whole.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace clitest {

struct Result {
  int status = -1;  // the exit status, or 128 + the signal that ended it
  std::string out;
  std::string err;
  bool timedOut = false;
};

struct ChildRun {
  std::vector<std::string> argv;  // the program first, looked up on the PATH
  std::filesystem::path folder;   // where it runs; its scratch files go here too
  std::string input;
  int stdinFd = -1;               // instead of `input` when not -1
  std::vector<std::string> env;   // NAME=value, added
  std::chrono::seconds limit{30};
  // Asked every few milliseconds while the child runs, with what it has
  // written so far to standard output.
  std::function<void(pid_t, const std::string& out)> onWait;
};

Result run(const ChildRun& r);
// Runs `argv` in `folder`, with no input.
Result runIn(const std::filesystem::path& folder, std::vector<std::string> argv);

std::string slurp(const std::filesystem::path& p);
void write(const std::filesystem::path& p, const std::string& bytes);

}  // namespace clitest
