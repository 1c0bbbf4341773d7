// zubrun's command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zubrun {

struct Options {
  enum Action { Run, Compile, Help, Version };
  Action action = Run;
  std::string edition = "2";
  bool keepCrLf = false;  // --crlf
  std::string file;       // "-": standard input
  std::string out;        // -o, for --compile
};

// The usage text, ending in a line end.
extern const char* const kUsage;

// Reads the arguments after the program's name; false with the problem
// in `problem` when they are not a command zubrun knows.
bool parseOptions(const std::vector<std::string_view>& args, Options& o, std::string& problem);

}  // namespace zubrun
