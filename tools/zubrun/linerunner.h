// Running script files on a first-edition host: source is fed to the host
// line by line, as it arrives, and the end of the file is told to the host
// (a block or definition left open is an error there); a compiled-script
// file runs record by record.  An include directive feeds the lines of the
// file it names to the same host, each numbered in its own file, before
// the including file goes on.
//
// A failing line stops the run, as the host's Execute stops; told to go on,
// the runner reports each failing line as the first-edition application
// interface does and goes on with the next.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "dovrel/scripthost.h"
#include "filerunner.h"

namespace zubrun {

class LineRunner : public FileRunner {
 public:
  explicit LineRunner(rt::Ref<dovrel::IScriptHost> host) : host_(std::move(host)) {}

  // Goes on after a failing line, handing each report to `report` (which
  // prints it) as it happens.
  void goOn(std::function<void(const std::string& report)> report) { goOn_ = std::move(report); }

  // Runs `path`.  A failure leaves its text in `report`: the error report
  // (report.h) after the place of the failure, for a script that failed; a
  // line for a file problem.  Going on, every failure has been handed over
  // already and `report` is empty, but the status is ScriptFailed.
  Status run(const std::string& path, std::string& report);

  // For the host's IncludeFile event.  A failure in the included file
  // raises, which ends the including line with it (going on, it has been
  // reported and the included file goes on).
  void include(const std::u16string& written);

 private:
  // Feeds the lines of `text`; false after a failure that ends the run.
  bool feed(const std::u16string& text);
  // Runs a compiled file; false after a failure.
  bool runCompiled(nubrel::VStream& vs);
  // The failure the host recorded, at its line of the running file (or
  // the line its description names); false unless going on.
  bool failedInHost();
  // The end of the file zubrun was given.
  bool end();

  rt::Ref<dovrel::IScriptHost> host_;
  std::function<void(const std::string&)> goOn_;
  std::string report_;  // the failure that ended the run
  bool failed_ = false;
};

}  // namespace zubrun
