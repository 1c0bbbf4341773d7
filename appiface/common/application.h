// Application: runs script text or script files on a new host of its
// edition's engine per run and hands the script's uses of "Application"
// to the host program as SptCommand events.
//
// Both libraries build this class from the same sources: what differs is
// defined by each library in its own folder (first/, second/): the slot
// order of the members, execute and execFile, and kEdition (edition.h).
// The script face, the host commands, the path rule and the record are
// shared.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "jespin/errinfo.h"
#include "jespin/values.h"
#include "rt/dispatch.h"
#include "rt/events.h"
#include "yarrick/application.h"
#include "zorbel/zorbel.h"

namespace appiface {

class Run;

// Not final: with it GCC 12 warns of a delete through the wrong base where
// a reference is let go of (-Wfree-nonheap-object), wrongly.
class Application : public rt::Automation<Application, yarrick::IApplication, zorbel::ScriptValue> {
 public:
  // The object itself, for the library's own classes (SvAppSubs's Init);
  // null for anything else, an Application of the other library too.
  static Application* of(rt::Object* o);
  void* query(const rt::Iid& iid) noexcept override;
  // Each edition's, in its own slot order (members.cpp builds them).
  static const rt::MemberTable<Application>& members();

  Application();
  ~Application() override;

  // --- IApplication --------------------------------------------------------
  jespin::IErrInfo& error() override { return *error_; }
  std::u16string sptPath() override { return sptPath_; }
  void setSptPath(std::u16string_view path) override;
  std::u16string sptFileName() override { return sptFileName_; }
  void setSptFileName(std::u16string_view name) override { sptFileName_ = name; }
  rt::Ref<rt::Object> host() override { return host_; }
  // Each edition's (first/execute.cpp, second/execute.cpp).
  void execute(std::u16string_view text) override;
  void execFile(std::u16string_view name) override;
  uint32_t advise(rt::Ref<yarrick::ApplicationEvents> sink) override;
  void unadvise(uint32_t cookie) override { events_.unadvise(cookie); }

  // --- The script's face (scriptface.cpp) ----------------------------------
  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override { return 0; }
  int32_t flag() override { return zorbel::FlagGeneral; }
  // The value text: the library's name until a script assigns another.
  rt::Variant value() override { return rt::Variant(valueText_); }
  void letValue(const rt::Variant& v) override;
  void setValue(const rt::Variant&) override {}
  // "Ver", "SptFn", "SptPath" (and in the second edition "SptFileName");
  // any other name is a host command.
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant&, int32_t) override { return nullptr; }
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace*, zorbel::ScriptValue*,
                                       int32_t) override {
    return nullptr;
  }
  // The object the host answers for `name` (a read of it); raises when the
  // answer holds no object.
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view name) override;
  // The record is the runs' and the commands', and the face's operations
  // record nothing in it: a member used after a line failed, or after a
  // command's host failed, is no failure of that member.
  bool hasError() override { return false; }
  // "<library> <major>.<minor>.<patch>".
  static std::u16string version();

  // --- Host commands (commands.cpp) ----------------------------------------
  // Raise SptCommand and return its answer list; null when the command
  // failed (recorded under "SendComm" or "SendCommVVS").  Both clear the
  // record first.  sendComm makes the argument list from `args`;
  // sendCommVVS raises `commParam` itself (an empty list for none).
  rt::Ref<jespin::IVValues> sendComm(std::u16string_view commName, int32_t callType,
                                     std::initializer_list<rt::Variant> args = {});
  rt::Ref<jespin::IVValues> sendCommVVS(std::u16string_view commName, int32_t callType,
                                        rt::Ref<jespin::IVValues> commParam);
  // The host's Output: the command "Output" with the text, unless it is
  // empty.
  void output(const std::u16string& s);
  // The answer of a command whose answer is needed: a command that failed
  // raises what it recorded.
  rt::Ref<jespin::IVValues> answered(rt::Ref<jespin::IVValues> commReturn);

  // --- Failures ------------------------------------------------------------
  // Records a failure, its source after `fnName` and CR LF when `fnName` is
  // given; the run in progress keeps a copy of it.
  void record(int32_t number, std::u16string_view source, std::u16string_view description,
              std::u16string_view fnName = {});
  void record(const jespin::IErrInfo& e, std::u16string_view fnName) {
    record(e.number(), e.source(), e.description(), fnName);
  }
  // Records the exception being handled (inside a catch block), whatever
  // it is: memory running out as error 7, anything foreign as 440.
  void recordCaught(std::u16string_view fnName) noexcept;

 private:
  friend class Run;

  rt::Ref<jespin::IVValues> raiseCommand(std::u16string_view fnName, std::u16string_view commName,
                                         int32_t callType,
                                         const std::function<rt::Ref<jespin::IVValues>()>& param);

  rt::Ref<jespin::IErrInfo> error_;
  std::u16string valueText_;
  std::u16string key_;
  std::u16string sptPath_;
  std::u16string sptFileName_;
  rt::Ref<rt::Object> host_;  // of the run in progress
  Run* run_ = nullptr;        // the run in progress, innermost
  rt::EventSource<yarrick::ApplicationEvents> events_;
};

}  // namespace appiface
