// Running script files on a second-edition host: a source file is compiled
// first, a compiled-script file runs as it is, and an include directive
// runs the file it names on the same host before the including script goes
// on.
#pragma once

#include <cstdint>
#include <string>

#include "filerunner.h"
#include "kestrin/scriptcompile.h"
#include "kestrin/scripthost.h"
#include "nubrel/vstream.h"

namespace zubrun {

class Runner : public FileRunner {
 public:
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
  // object-stream file (binary) that run() runs as it runs source, or to
  // standard output for "-".
  Status compile(const std::string& path, const std::string& out, std::string& report);

 private:
  // The file (as read() takes it) as a stream to run; null when it cannot
  // be read, the reason in why_.  A compile error, or a compiled file the
  // stream refuses, raises.
  rt::Ref<nubrel::VStream> load(const std::string& file);
  // `script` compiled, when it is source; a compile error raises, at its
  // line of `path`.
  rt::Ref<nubrel::VStream> compiled(const std::string& path, Script& script);
  // Raises the compiler's error, at its line of `path`.
  void compileFailed(const std::string& path);
  // The host's place of the failure it recorded last.
  void failedInHost();

  rt::Ref<kestrin::IScriptCompile> compiler_;
  rt::Ref<kestrin::IScriptHost> host_;
};

}  // namespace zubrun
