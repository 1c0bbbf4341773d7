// The script application interface, as host programs see it: an Application
// runs script text or script files on one edition of the engine and hands
// every use the script makes of "Application" that is not one of its own
// members to the host program, as the SptCommand event.
//
// Both editions answer this interface: "Yarrick.Application" runs on the
// first edition (line by line), "Trevane.Application" on the second
// (compiled first).  The host creates one by class ID or ProgID, advises a
// sink, calls execute or execFile and reads error() afterwards.  The event
// is raised synchronously, on the script's thread, inside the script's use
// of the member; the answer the sink leaves in commReturn is read when the
// sink returns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jespin/errinfo.h"
#include "jespin/values.h"
#include "rt/activation.h"
#include "rt/object.h"

namespace yarrick {

// How the script used a command (SptCommand's callType).
enum SaCallTypes : int32_t {
  SaMethod = 1,  // called: Application.Name args
  SaGet = 2,     // read: x = Application.Name
  SaLet = 4,     // assigned a value: Application.Name = v
  SaSet = 8,     // assigned an object: Set Application.Name = o
};

// The host program's side.  The arguments arrive in commParam, items without
// keys in call order (for SaLet and SaSet the assigned value last); the
// answer goes into commReturn, which arrives empty: no item for none, one
// item for a value or an object, several for a list.
class ApplicationEvents : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Yarrick.ApplicationEvents");

  virtual void sptCommand(const std::u16string& commName, int32_t callType,
                          jespin::IVValues& commParam, jespin::IVValues& commReturn) = 0;
};

class IApplication : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Yarrick.IApplication");
  // The two editions' classes.
  static constexpr rt::Guid firstEdition = rt::classIdOf("Yarrick.Application");
  static constexpr rt::Guid secondEdition = rt::classIdOf("Trevane.Application");

  // The record of the last run (cleared when a run starts).
  virtual jespin::IErrInfo& error() = 0;
  // The folder relative script names are taken from; always ends with "/".
  virtual std::u16string sptPath() = 0;
  virtual void setSptPath(std::u16string_view path) = 0;
  // The name of the script file running or run last.
  virtual std::u16string sptFileName() = 0;
  virtual void setSptFileName(std::u16string_view name) = 0;
  // The running edition's script host; null between runs.
  virtual rt::Ref<rt::Object> host() = 0;
  // Runs script text.
  virtual void execute(std::u16string_view text) = 0;
  // Runs a script file (relative names from sptPath).
  virtual void execFile(std::u16string_view name) = 0;

  // Returns a cookie for unadvise.
  virtual uint32_t advise(rt::Ref<ApplicationEvents> sink) = 0;
  virtual void unadvise(uint32_t cookie) = 0;
};

}  // namespace yarrick
