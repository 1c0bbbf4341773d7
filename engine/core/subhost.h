// SubHost: runs compiled-script streams in a space of its own nested under a
// running ScriptHost's top-level space (kestrin/subhost.h).  It has no root
// and no built-ins of its own: names resolve through the root host's spaces,
// and a name nobody has is made in the sub-host's space.  It shares the root
// host's macro table, and its user functions are bound in its own space.
#pragma once

#include <cstdint>
#include <string>

#include "core/streamhost.h"
#include "kestrin/subhost.h"
#include "rt/dispatch.h"
#include "rt/events.h"

namespace engine {

class SubHost final : public rt::Automation<SubHost, kestrin::ISubHost>, public StreamHost {
 public:
  static const rt::MemberTable<SubHost>& members();

  SubHost();
  ~SubHost() override;

  rt::Ref<jespin::IVValues> defines() override { return defines_; }
  void setDefines(jespin::IVValues* defines) override { defines_ = defines; }
  bool runStop() override;
  void setRunStop(bool stop) override;
  // Clears its own error record only: the spaces' record is the root
  // host's, and an error left there stays until that host clears it.
  void execStream(nubrel::VStream& vs) override;
  // Drops its space and unbinds what its scripts bound there.
  void freeAll() override;
  void initRoot(kestrin::IScriptHost* rootHost) override;
  rt::Ref<zorbel::ScriptSpace> sSpace() override { return space_; }
  jespin::IErrInfo& error() override { return error_.info(); }
  uint32_t advise(rt::Ref<kestrin::SubHostEvents> sink) override;
  void unadvise(uint32_t cookie) override { events_.unadvise(cookie); }

 protected:
  void raiseIncludeFile(const std::u16string& file) override;

 private:
  rt::Ref<kestrin::IScriptHost> root_;
  rt::EventSource<kestrin::SubHostEvents> events_;
};

}  // namespace engine
