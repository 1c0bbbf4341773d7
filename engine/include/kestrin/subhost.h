// The sub-host of the second-edition engine: runs compiled-script streams
// in a scope of its own nested under a running ScriptHost.  It shares that
// host's macro table and, through its space's parents, the host's top-level
// names, root globals, built-ins, libraries and type map; the names its own
// scripts create stay in its own space.  Its scripts print and read through
// the root host's built-ins.
//
//   rt::Ref<kestrin::ISubHost> sub = ...createObject(u"Kestrin.SubHost")...;
//   sub->initRoot(host.get());   // once, before the first execStream
//   sub->execStream(*stream);
#pragma once

#include <cstdint>
#include <string>

#include "jespin/errinfo.h"
#include "jespin/values.h"
#include "kestrin/scripthost.h"
#include "nubrel/vstream.h"
#include "rt/activation.h"
#include "rt/object.h"
#include "zorbel/zorbel.h"

namespace kestrin {

// The sub-host's one event, raised synchronously.
class SubHostEvents : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.SubHostEvents");

  // An include directive: the rest of its line, trimmed, as written.
  virtual void includeFile(const std::u16string& s) {}
};

class ISubHost : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.ISubHost");
  static constexpr rt::Guid clsid = rt::classIdOf("Kestrin.SubHost");

  // The macro table: after initRoot, the root host's own (shared).
  virtual rt::Ref<jespin::IVValues> defines() = 0;
  virtual void setDefines(jespin::IVValues* defines) = 0;
  // The root host's run-stop flag, reached through the sub-host's space.
  virtual bool runStop() = 0;
  virtual void setRunStop(bool stop) = 0;
  // Runs a compiled-script stream in the sub-host's space.  Failures of the
  // script are recorded in error(); a malformed directive raises; before
  // initRoot it raises 91.
  virtual void execStream(nubrel::VStream& vs) = 0;
  // Drops the sub-host's space and what its scripts made there.
  virtual void freeAll() = 0;
  // Nests the sub-host under `rootHost`: its space's parent becomes the
  // host's top-level space and the host's macro table its own.
  virtual void initRoot(IScriptHost* rootHost) = 0;
  // The sub-host's own space; null after freeAll.
  virtual rt::Ref<zorbel::ScriptSpace> sSpace() = 0;
  virtual jespin::IErrInfo& error() = 0;

  // Returns a cookie for unadvise.
  virtual uint32_t advise(rt::Ref<SubHostEvents> sink) = 0;
  virtual void unadvise(uint32_t cookie) = 0;
};

}  // namespace kestrin
