// The script bridge: every script the program runs goes through zubExec,
// which hands the file to a first-edition Application and answers the
// script's host commands (the Application's SptCommand event).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jespin/values.h"
#include "marlox/runstop.h"
#include "yarrick/application.h"

namespace marlox {

class Program;

class ScriptBridge {
 public:
  explicit ScriptBridge(Program& program) : program_(program) {}
  ScriptBridge(const ScriptBridge&) = delete;
  ScriptBridge& operator=(const ScriptBridge&) = delete;

  // Runs one script file on a new Application, yields once, and shows the
  // run's error, if any, in a box: true when the run recorded none.  The
  // result is always that of this run's own Application, also when the
  // script started other runs (through FileSave and the like).  Raises
  // when the Application cannot be made.
  bool zubExec(std::u16string_view zubPath);
  // A script runs (zubExec has not returned).
  bool running() const { return stop_.active(); }
  // The program is to end: every running script stops at its next yield
  // and runs no further line, a command it waits for (ExecCmd) is ended,
  // and the method commands it sends from then on end quietly.  Holds
  // until the outermost run ends.
  void stopRuns() { stop_.request(); }
  bool stopping() const { return stop_.requested(); }

  // Answers one host command.  Method calls end quietly when they fail;
  // reads and assignments raise their failures to the Application, which
  // records them.  A command that needs the main window raises error 91
  // while there is none.
  void sptCommand(const std::u16string& commName, int32_t callType, jespin::IVValues& commParam,
                  jespin::IVValues& commReturn);

 private:
  class Sink;
  class RunScope;

  Program& program_;
  // The Application of the latest run, kept until the next.
  rt::Ref<yarrick::IApplication> latest_;
  RunStop stop_;
};

}  // namespace marlox
