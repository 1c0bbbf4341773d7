// The script host of the first-edition engine, as other libraries see it:
// it takes script text line by line (or a whole text, or a compiled
// stream), runs each statement as its line arrives, and talks to the
// embedding program only through its events (engine/hostevents.h).
//
// Lines are numbered from 1 in the order they arrive.  A block statement
// runs when its closing line arrives, a Sub or Function is defined when
// its End line arrives.  Failures are recorded in error(), never raised;
// only calling the host while it runs a line (from an event handler, or
// from the script through its "ScriptHost") raises, with error 5.
//
// The host and the built-in objects of its root space hold each other, so an
// embedding program calls freeAll before it lets go of a host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/hostevents.h"
#include "jespin/errinfo.h"
#include "jespin/values.h"
#include "nubrel/vstream.h"
#include "rt/activation.h"
#include "rt/object.h"
#include "zorbel/zorbel.h"

namespace dovrel {

class IScriptHost : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Dovrel.IScriptHost");
  static constexpr rt::Guid clsid = rt::classIdOf("Dovrel.ScriptHost");

  // Read by the running script's Do and For loops; cleared when a text,
  // a line or a stream starts.
  virtual bool runStop() = 0;
  virtual void setRunStop(bool stop) = 0;
  // Ends the run for good, for a program that is about to exit: each loop
  // running (For Each too) ends at its next yield, and no further line of
  // the script runs; every line, text or stream the host is given after
  // that is dropped unrun.  Unlike RunStop, which a script may set to end
  // a Do or For loop and go on, nothing clears it.
  virtual void endRun() = 0;
  // Runs a whole text, cut into lines at CR LF, CR or LF, and stops after
  // the first line that leaves an error.  Returns errCode().
  virtual int32_t execute(std::u16string_view s) = 0;
  // Takes one source line: 1 while it continues a statement or belongs to
  // a definition being collected, -1 when it failed, else errCode().
  virtual int32_t execLine(std::u16string_view s) = 0;
  // The end of the text: a block statement still open, a definition not
  // ended or a line still continued is an error (recorded), and is dropped
  // so that the next text starts afresh.  Returns -1 after such an error,
  // else errCode().
  virtual int32_t execEnd() = 0;
  // Runs a compiled-script stream record by record (kestrin/scriptcompile.h
  // writes them).  Failures of the script are recorded in error(); a
  // malformed directive raises.
  virtual void execStream(nubrel::VStream& vs) = 0;
  // Drops the spaces, the macros and any statement or definition being
  // collected, which frees what the script made.
  virtual void freeAll() = 0;
  // A new, empty top-level space: what the script defined there is gone;
  // the root and its globals stay.
  virtual void refreshSSP() = 0;
  // The top-level space; null after freeAll.
  virtual rt::Ref<zorbel::ScriptSpace> sSpace() = 0;

  // The state of the last line: 1 while a definition is being collected,
  // else 0.
  virtual int32_t errCode() = 0;
  // The line-context text of the last line that was not empty:
  // "在执行第N行脚本时出现下列错误：" CR LF.
  virtual std::u16string errString() = 0;
  virtual jespin::IErrInfo& error() = 0;

  // The define macros: name to token list.  Shared, not copied, when set.
  virtual rt::Ref<jespin::IVValues> defines() = 0;
  virtual void setDefines(jespin::IVValues* defines) = 0;

  // The number of the last line taken; the next line is this plus 1.  A
  // program that feeds an included file's lines sets it to 0 first and
  // back afterwards, so that lines keep their own numbers.
  virtual int32_t lineNumber() = 0;
  virtual void setLineNumber(int32_t line) = 0;

  // Returns a cookie for unadvise.
  virtual uint32_t advise(rt::Ref<engine::ScriptHostEvents> sink) = 0;
  virtual void unadvise(uint32_t cookie) = 0;
};

}  // namespace dovrel
