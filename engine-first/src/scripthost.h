// ScriptHost of the first edition (dovrel/scripthost.h): it interprets
// each line as it arrives.  It strips comments, joins continued lines, runs
// "#" directives at once, collects Sub and Function definitions into user
// functions (bound in the top-level space at their End line), and gives
// every other line to its one long-lived line dispatcher, which keeps a
// block statement open between lines until its closing line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "bodygeneral.h"
#include "builtins/svuserfun.h"
#include "core/errors.h"
#include "core/hostchannel.h"
#include "core/hostevents.h"
#include "dovrel/scripthost.h"
#include "rt/dispatch.h"

namespace dovrel {

class ScriptHost final : public rt::Automation<ScriptHost, IScriptHost, engine::HostChannel> {
 public:
  static const rt::MemberTable<ScriptHost>& members();

  // A host with its spaces and its root names bound.  The root names hold
  // the host, so it is made whole before they are.
  static rt::Ref<ScriptHost> create();
  ~ScriptHost() override;

  bool runStop() override;
  void setRunStop(bool stop) override;
  void endRun() override { ended_ = true; }
  int32_t execute(std::u16string_view s) override;
  int32_t execLine(std::u16string_view s) override;
  int32_t execEnd() override;
  void execStream(nubrel::VStream& vs) override;
  void freeAll() override;
  void refreshSSP() override;
  rt::Ref<zorbel::ScriptSpace> sSpace() override { return space_; }
  int32_t errCode() override { return errCode_; }
  std::u16string errString() override { return errString_; }
  jespin::IErrInfo& error() override { return error_.info(); }
  rt::Ref<jespin::IVValues> defines() override { return defines_; }
  void setDefines(jespin::IVValues* defines) override { defines_ = defines; }
  int32_t lineNumber() override { return lineCount_; }
  // A negative number is refused (5), the counter left as it was.
  void setLineNumber(int32_t line) override;
  uint32_t advise(rt::Ref<engine::ScriptHostEvents> sink) override {
    return events_.advise(std::move(sink));
  }
  void unadvise(uint32_t cookie) override { events_.unadvise(cookie); }

  // --- HostChannel ---
  std::u16string raiseInputLine() override { return events_.inputLine(this); }
  int16_t raiseInputChar() override { return events_.inputChar(this); }
  void raiseOutput(std::u16string_view s) override { events_.output(this, s); }
  void raiseOutErr(std::u16string_view s) override { events_.outErr(this, s); }
  rt::Ref<engine::HostLink> link() override { return link_; }

 private:
  ScriptHost();

  // The steps of a line after its line-context text is set; each raises
  // or returns the line's result.
  int32_t takeLine(std::u16string_view s, int32_t number);
  int32_t takeStatement(rt::Ref<engine::ExpItems> items, const std::u16string& text);
  int32_t startDefinition(rt::Ref<engine::ExpItems> items, const std::u16string& text);
  int32_t continueDefinition(engine::ExpItems& items);
  // Runs a line with the dispatcher in the top-level space; false when it
  // recorded an error.
  bool dispatch(rt::Ref<engine::ExpItems> items);
  // Records a failure of the line in `error_`, after the line context.
  void recordLineError(jespin::IErrInfo& e, const std::u16string& detail);
  // A directive line; false after recording a define that does not
  // tokenize, under `operation`.  An unknown directive raises.
  bool directive(std::u16string_view text, std::u16string_view operation);

  void readRecords(nubrel::VStream& vs);
  bool takeStreamLine(nubrel::VStream& vs);
  void takeStreamFunction(nubrel::VStream& vs);

  // Error 5 while the host runs a line: it is never entered again from
  // inside (an event handler, or the script itself through "ScriptHost").
  void requireIdle() const;

  engine::ErrRecord error_;
  rt::Ref<engine::HostLink> link_;
  rt::Ref<jespin::IVValues> defines_;
  rt::Ref<zorbel::ScriptSpace> root_;
  rt::Ref<zorbel::ScriptSpace> space_;  // the top-level space
  std::unique_ptr<BodyGeneral> dispatcher_;
  engine::HostEvents events_;

  // A Sub or Function being collected; one whose header was refused has
  // its lines dropped up to its End line.
  rt::Ref<engine::SvUserFun> definition_;
  bool droppingDefinition_ = false;
  int32_t definitionLine_ = 0;
  int32_t definitionKeyword_ = 0;

  std::u16string pending_;  // a statement continued with " _" so far
  int32_t pendingLine_ = 0;
  int32_t lineCount_ = 0;  // never negative; stays at its largest value
  bool inComment_ = false;  // inside a block comment begun on an earlier line
  int32_t errCode_ = 0;
  std::u16string errString_;
  bool running_ = false;    // a line runs
  bool ended_ = false;      // endRun: nothing more runs
};

}  // namespace dovrel
