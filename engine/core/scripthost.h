// ScriptHost: runs compiled-script streams for an embedding program
// (kestrin/scripthost.h).  It owns the root space, the top-level space and
// the define macros, runs the streams (streamhost.h), and raises its events
// for the input and output objects of the root space.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/hostchannel.h"
#include "core/hostevents.h"
#include "core/streamhost.h"
#include "kestrin/scripthost.h"
#include "rt/dispatch.h"

namespace engine {

class ScriptHost final : public rt::Automation<ScriptHost, kestrin::IScriptHost, HostChannel>,
                         public StreamHost {
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
  void setSourceName(std::u16string_view name) override { StreamHost::setSourceName(name); }
  int32_t errorLine() override { return StreamHost::errorLine(); }
  std::u16string errorSource() override { return StreamHost::errorSource(); }
  uint32_t advise(rt::Ref<ScriptHostEvents> sink) override { return events_.advise(std::move(sink)); }
  void unadvise(uint32_t cookie) override { events_.unadvise(cookie); }

  std::u16string raiseInputLine() override;
  int16_t raiseInputChar() override;
  void raiseOutput(std::u16string_view s) override;
  void raiseOutErr(std::u16string_view s) override;
  rt::Ref<HostLink> link() override { return link_; }

 protected:
  void raiseIncludeFile(const std::u16string& file) override;

 private:
  ScriptHost();
  void bindBuiltins();

  rt::Ref<HostLink> link_;
  rt::Ref<zorbel::ScriptSpace> root_;
  HostEvents events_;
};

}  // namespace engine
