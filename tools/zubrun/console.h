// The host events of a script run from the command line: output goes to
// standard output as UTF-8, line and character input come from standard
// input (or any other pair of C streams), and an include directive runs the
// named file through `include`.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "kestrin/scripthost.h"
#include "rt/error.h"

namespace zubrun {

// The longest line Input takes: standard input could feed one without end.
constexpr size_t kMaxInputLine = size_t{64} << 20;

// The error of a failed write to the output, `errnum` its errno: 61 for a
// full disk, 57 otherwise.  A pipe whose reader has gone ends the program
// quietly instead, as it ends other tools (by SIGPIPE).
rt::RuntimeError outputFailure(int errnum);

class Console final : public kestrin::ScriptHostEvents {
 public:
  using IncludeHandler = std::function<void(const std::u16string& file)>;
  explicit Console(IncludeHandler include, std::FILE* in = stdin, std::FILE* out = stdout)
      : include_(std::move(include)), in_(in), out_(out) {}

  // A line without its line end; "" at the end of the input.  Raises 14
  // for a line of more than kMaxInputLine bytes.
  void inputLine(std::u16string& inBuf) override;
  // The code of the next character (its Unicode code point, kept to 16
  // bits); 0 at the end of the input.
  void inputChar(int16_t& aCode) override;
  // Raises outputFailure when the output cannot be written.
  void output(const std::u16string& s) override;
  void outErr(const std::u16string& s) override;
  void includeFile(const std::u16string& s) override { include_(s); }

 private:
  IncludeHandler include_;
  std::FILE* in_;
  std::FILE* out_;
};

}  // namespace zubrun
