// The host events of a script run from the command line: output goes to
// standard output as UTF-8, each CR LF the script writes as LF unless the
// line ends are kept as written; line and character input come from
// standard input (or any other pair of C streams), a character from a
// terminal as soon as its key is pressed; and an include directive runs the
// named file through `include`.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "engine/hostevents.h"
#include "rt/error.h"

namespace zubrun {

// The longest line Input takes: standard input could feed one without end.
constexpr size_t kMaxInputLine = size_t{64} << 20;

// The error of a failed write to the output, `errnum` its errno: 61 for a
// full disk, 57 otherwise.  A pipe whose reader has gone ends the program
// quietly instead, as it ends other tools (by SIGPIPE).
rt::RuntimeError outputFailure(int errnum);

// Writes `bytes` to `out`; raises outputFailure when they cannot be
// written (output is buffered: a write fails when the buffer is passed on,
// and stays failed).
void writeOutput(std::string_view bytes, std::FILE* out);

// The errno of output to `out` that could not be written, once what waits
// is flushed; 0 when all was written.
int outputError(std::FILE* out);

class Console final : public engine::ScriptHostEvents {
 public:
  using IncludeHandler = std::function<void(const std::u16string& file)>;
  explicit Console(IncludeHandler include, std::FILE* in = stdin, std::FILE* out = stdout)
      : include_(std::move(include)), in_(in), out_(out) {}

  // A line without its line end; "" at the end of the input.  Raises 14
  // for a line of more than kMaxInputLine bytes.
  void inputLine(std::u16string& inBuf) override;
  // The code of the next character (its Unicode code point, kept to 16
  // bits); 0 at the end of the input.  A terminal gives it without waiting
  // for Enter (rawkeys.h).
  void inputChar(int16_t& aCode) override;
  // Raises outputFailure when the output cannot be written.
  void output(const std::u16string& s) override;
  void outErr(const std::u16string& s) override;
  void includeFile(const std::u16string& s) override { include_(s); }

  // Writes CR LF as the script wrote it (true) or as LF (false, at first).
  void keepCrLf(bool keep) { keepCrLf_ = keep; }
  // Writes what is still held back (a CR at the end of the last output)
  // and flushes; the errno of a write that failed, 0 when all was written.
  int finish();

 private:
  // Writes output bytes, CR LF as LF unless kept: a CR at the end of a
  // piece waits for the next one, which may begin with its LF.
  void write(std::string_view bytes);
  // A CR held back at the end of the output so far is written.
  void putPendingCr();
  // What waits is written, and the prompt shows, before input is read.
  void beforeInput();

  IncludeHandler include_;
  std::FILE* in_;
  std::FILE* out_;
  bool keepCrLf_ = false;
  bool pendingCr_ = false;
};

}  // namespace zubrun
