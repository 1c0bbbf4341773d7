// zubrun's command line.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zubrun {

struct Options {
  enum Action { Run, Compile, Help, Version };
  Action action = Run;
  std::string edition = "2";
  bool keepCrLf = false;  // --crlf
  bool goOn = false;      // --go-on, edition 1: on after a failing line
  std::string file;       // "-": standard input
  std::string out;        // -o, for --compile; "-": standard output
  // --app: through the application interface, with its console host.
  bool app = false;
  bool commands = false;  // --commands
  std::vector<std::pair<std::string, std::string>> answers;  // --answer NAME=TEXT, in order
};

// The usage text, ending in a line end.
extern const char* const kUsage;

// Reads the arguments after the program's name; false with the problem
// in `problem` when they are not a command zubrun knows.
bool parseOptions(const std::vector<std::string_view>& args, Options& o, std::string& problem);

}  // namespace zubrun
