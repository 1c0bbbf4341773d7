// The script host of the second-edition engine, as other libraries see it:
// it runs compiled-script streams (kestrin/scriptcompile.h) against its
// script spaces and talks to the embedding program only through its events.
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

namespace kestrin {

// The host's events (engine/hostevents.h), under the name they had here.
using ScriptHostEvents = engine::ScriptHostEvents;

class IScriptHost : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.IScriptHost");
  static constexpr rt::Guid clsid = rt::classIdOf("Kestrin.ScriptHost");

  // The define macros: name to token list.  Shared, not copied, when set.
  virtual rt::Ref<jespin::IVValues> defines() = 0;
  virtual void setDefines(jespin::IVValues* defines) = 0;
  // Read by the running script's Do and For loops; cleared by execStream.
  virtual bool runStop() = 0;
  virtual void setRunStop(bool stop) = 0;
  // Runs a compiled-script stream record by record.  Failures of the script
  // are recorded in error(); a malformed directive raises.
  virtual void execStream(nubrel::VStream& vs) = 0;
  // Drops the spaces and the macros, which frees what the script made.
  virtual void freeAll() = 0;
  // A new, empty top-level space (the root and its globals stay).
  virtual void refreshSSP() = 0;
  // The top-level space; null after freeAll.
  virtual rt::Ref<zorbel::ScriptSpace> sSpace() = 0;
  virtual jespin::IErrInfo& error() = 0;

  // The name the code of the following runs goes by where a failure is
  // reported (a file name, say); none at first.
  virtual void setSourceName(std::u16string_view name) = 0;
  // Where the last run that recorded a failure stopped: the line of the
  // innermost statement that failed (0 when not known), and the name of the
  // source that statement was read from (a user function's lines keep the
  // name of the run that read them).  A failure in a run nested in an
  // include handler stays here when the handler raises it on.
  virtual int32_t errorLine() = 0;
  virtual std::u16string errorSource() = 0;

  // Returns a cookie for unadvise.
  virtual uint32_t advise(rt::Ref<ScriptHostEvents> sink) = 0;
  virtual void unadvise(uint32_t cookie) = 0;
};

}  // namespace kestrin
