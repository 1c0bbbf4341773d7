// Running script files on a host: a source file is compiled first, a
// compiled-script file runs as it is, and an include directive runs the file
// it names on the same host before the including script goes on.  Source
// that is not valid in the system code page is read all the same, with a
// warning naming its first bad line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "kestrin/scriptcompile.h"
#include "kestrin/scripthost.h"
#include "nubrel/vstream.h"
#include "report.h"
#include "rt/error.h"

namespace zubrun {

class Runner {
 public:
  enum Status : int { Ok = 0, ScriptFailed = 1, FileProblem = 2 };

  Runner(rt::Ref<kestrin::IScriptCompile> compiler, rt::Ref<kestrin::IScriptHost> host)
      : compiler_(std::move(compiler)), host_(std::move(host)) {}

  // Runs `path`.  A failure leaves its text in `report`: the error report
  // (report.h) after the place of the failure, for a script that failed; a
  // line for a file problem.
  Status run(const std::string& path, std::string& report);

  // For the host's IncludeFile event.  A failure in the included file
  // raises, which ends the including run with it.
  void include(const std::u16string& written);

  // Writes the compiled form of the source file `path` to `out`, an
  // object-stream file (binary) that run() runs as it runs source.
  Status compile(const std::string& path, const std::string& out, std::string& report);

  // Where warnings go (standard error unless told).
  void setWarnings(std::FILE* to) { warnings_ = to; }

 private:
  // The file as a stream to run; null when it cannot be read, the reason
  // in why_.  A compile error, or a compiled file the stream refuses,
  // raises.
  rt::Ref<nubrel::VStream> load(const std::string& path);
  // The bytes of `path`; false when it cannot be read, the reason in why_.
  bool readable(const std::string& path, std::string& bytes);
  // The source text of `path`, warned about when it is not valid in the
  // code page.
  std::u16string sourceText(const std::string& path, std::string_view bytes);
  // Raises the compiler's error, at its line of `path`.
  void compiled(const std::string& path);

  // The place of a failure, kept where it is first known: the innermost
  // file and line.
  void failedAt(std::string file, int32_t line);
  // The host's place of the failure it recorded last.
  void failedInHost();
  std::string reportOf(const rt::RuntimeError& e) const;

  rt::Ref<kestrin::IScriptCompile> compiler_;
  rt::Ref<kestrin::IScriptHost> host_;
  std::vector<std::string> files_;  // the file running and those including it
  Place where_;
  std::string why_;  // why the last file could not be read
  std::FILE* warnings_ = stderr;
};

}  // namespace zubrun
