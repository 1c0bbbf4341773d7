// ScriptHost: runs compiled-script streams for an embedding program
// (kestrin/scripthost.h).  It owns the root space, the top-level space and
// the define macros, feeds each stretch of script lines between two
// directives to one BodyGeneral and runs it, handles the directives
// (define, deftype, include), and raises its events for the input and
// output objects of the root space.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/defines.h"
#include "core/errors.h"
#include "core/expitems.h"
#include "core/hostchannel.h"
#include "kestrin/scripthost.h"
#include "rt/dispatch.h"
#include "rt/events.h"

namespace engine {

class BodyGeneral;

class ScriptHost final : public rt::Automation<ScriptHost, kestrin::IScriptHost, HostChannel> {
 public:
  static const rt::MemberTable<ScriptHost>& members();

  // A host with its spaces and its built-in names bound.  The built-ins
  // hold the host, so it is made whole before they are.
  static rt::Ref<ScriptHost> create();
  ~ScriptHost() override;

  rt::Ref<jespin::IVValues> defines() override { return defines_; }
  void setDefines(jespin::IVValues* defines) override { defines_ = defines; }
  bool runStop() override;
  void setRunStop(bool stop) override;
  void execStream(nubrel::VStream& vs) override;
  void freeAll() override;
  void refreshSSP() override;
  rt::Ref<zorbel::ScriptSpace> sSpace() override { return space_; }
  jespin::IErrInfo& error() override { return error_.info(); }
  uint32_t advise(rt::Ref<kestrin::ScriptHostEvents> sink) override;
  void unadvise(uint32_t cookie) override { events_.unadvise(cookie); }

  std::u16string raiseInputLine() override;
  int16_t raiseInputChar() override;
  void raiseOutput(std::u16string_view s) override;
  void raiseOutErr(std::u16string_view s) override;
  rt::Ref<HostLink> link() override { return link_; }

  // One step of macro expansion: replaces the first name in `items` that
  // names a macro; false when none does.
  bool expandDefines(ExpItems& items);
  // The macros as the expansion and the stored user functions look them up.
  DefineLookup defineLookup();

 private:
  ScriptHost();
  void bindBuiltins();

  // The steps of execStream; each false when it recorded an error, which
  // ends the run.
  bool takeLine(nubrel::VStream& vs, BodyGeneral& block, ExpItems& items);
  bool runBlock(BodyGeneral& block);
  bool takeFunction(nubrel::VStream& vs);
  // A directive line (directives.cpp).  Error 1003 for an unknown keyword
  // is raised; a define whose text does not tokenize is recorded (false).
  bool preExecLine(std::u16string_view text);
  bool define(std::u16string_view name, std::u16string_view replacement);
  void defType(std::u16string_view typeName, std::u16string_view progId);

  ErrRecord error_;
  rt::Ref<HostLink> link_;
  rt::Ref<zorbel::ScriptSpace> root_;
  rt::Ref<zorbel::ScriptSpace> space_;
  rt::Ref<jespin::IVValues> defines_;
  rt::EventSource<kestrin::ScriptHostEvents> events_;
};

}  // namespace engine
