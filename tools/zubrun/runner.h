// Running script files on a host: a source file is compiled first, a
// compiled-script file runs as it is, and an include directive runs the file
// it names on the same host before the including script goes on.
#pragma once

#include <cstdint>
#include <string>
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

 private:
  // The file as a stream to run; null when it cannot be read.  A compile
  // error, or a compiled file the stream refuses, raises.
  rt::Ref<nubrel::VStream> load(const std::string& path);

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
};

}  // namespace zubrun
