// How the programs read their command lines, alike in each: "--" ends the
// options, so that every argument after it is an operand even when it
// starts with "-"; "-" alone is an operand too, which names standard input
// or output where a file is read or written.
#pragma once

#include <string_view>

namespace rt {

inline constexpr std::string_view kStandardStream = "-";

class ArgScanner {
 public:
  enum Kind { Option, Operand, EndOfOptions };

  // What `arg`, the next argument, is.
  Kind next(std::string_view arg) {
    if (ended_) return Operand;
    if (arg == "--") {
      ended_ = true;
      return EndOfOptions;
    }
    return arg.size() > 1 && arg.front() == '-' ? Option : Operand;
  }

 private:
  bool ended_ = false;
};

}  // namespace rt
