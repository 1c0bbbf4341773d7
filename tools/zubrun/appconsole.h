// zubrun --app: a script file run through an Application of the
// application interface, with the console as its host program.  The host
// answers the commands "Output" (to standard output), "InputLine" and
// "InputChar" (from standard input) and those named by --answer; it leaves
// every other one unanswered, and with --commands writes each one on
// standard error before it answers it:
//
//   SptCommand Let curText "ABC"
//
// (the call type, the name, then the arguments: texts quoted, with \ " CR
// LF and tab escaped as in C, separated by ", ").
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "console.h"
#include "options.h"
#include "yarrick/application.h"

namespace zubrun {

class AppConsole : public yarrick::ApplicationEvents {
 public:
  AppConsole(Console& console, const Options& o) : console_(console), o_(o) {}

  void sptCommand(const std::u16string& commName, int32_t callType, jespin::IVValues& commParam,
                  jespin::IVValues& commReturn) override;

 private:
  Console& console_;
  const Options& o_;
};

// The line --commands writes for a command, without its line end.
std::string commandLine(std::u16string_view commName, int32_t callType,
                        const std::vector<rt::Variant>& args);

// Runs o.file by ExecFile of the edition's Application.  The status is 1
// when the Application's record holds an error, which `report` then gives;
// `outputFailed` the errno of output that could not be written, or 0.
int runApplication(const Options& o, std::string& report, int& outputFailed);

}  // namespace zubrun
