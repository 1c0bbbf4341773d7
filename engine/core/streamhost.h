// What the two hosts (ScriptHost, SubHost) share: running a compiled-script
// stream record by record, and the directives.
//
// The lines between two directives are fed to one BodyGeneral, which runs
// in the host's top-level space when the next directive or the end record
// arrives; a user function is bound in that space as soon as its record is
// read; "#define" writes into the host's macro table, "#deftype" into the
// type map its space sees, "#include" raises the host's own event.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/defines.h"
#include "core/errors.h"
#include "core/expitems.h"
#include "core/place.h"
#include "jespin/values.h"
#include "nubrel/vstream.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

class BodyGeneral;

class StreamHost {
 public:
  StreamHost(const StreamHost&) = delete;
  StreamHost& operator=(const StreamHost&) = delete;

  // One step of macro expansion: replaces the first name in `items` that
  // names a macro; false when none does (or there is no macro table).
  bool expandDefines(ExpItems& items);
  // The macros as the expansion and the stored user functions look them up.
  DefineLookup defineLookup();

  // The name the code of the runs that follow goes by in failure places
  // (a file name, say); none at first.
  void setSourceName(std::u16string_view name) { source_ = sourceNumber(name); }
  // Where the last run that failed stopped: the line of the innermost
  // statement that failed (0 when not known: a stream that is spoilt, a
  // directive) and the name of the source that line was read from.
  int32_t errorLine() const { return failedAt_.line; }
  std::u16string errorSource() const { return sourceName(failedAt_.source); }

 protected:
  explicit StreamHost(std::u16string_view module);
  virtual ~StreamHost();

  // The record loop, after the host's own start of a run.  Failures of the
  // script end the run in error_ (memory running out anywhere in it as
  // error 7), their place in failedAt_; a malformed directive raises.
  void runStream(nubrel::VStream& vs);
  // Raises the host's IncludeFile event.
  virtual void raiseIncludeFile(const std::u16string& file) = 0;

  ErrRecord error_;
  rt::Ref<zorbel::ScriptSpace> space_;  // the top-level space
  rt::Ref<jespin::IVValues> defines_;

 private:
  void readRecords(nubrel::VStream& vs);
  // The steps of a run; each false when it recorded an error, which ends
  // the run.
  bool takeLine(nubrel::VStream& vs, BodyGeneral& block, ExpItems& items);
  // Runs the lines gathered, which must hold no open block statement.
  bool runBlock(BodyGeneral& block);
  bool takeFunction(nubrel::VStream& vs);
  // A directive line (directives.h).  Error 1003 for an unknown keyword
  // is raised; a define whose text does not tokenize is recorded (false).
  bool preExecLine(std::u16string_view text);
  // A failure of the stream itself, which has no line.
  void streamFailed(const rt::RuntimeError& e);

  int32_t source_ = 0;  // sourceNumber of the name runs go by
  Place failedAt_;
};

// The members both hosts show scripts and embedding programs; each adds its
// own after them.
template <class T>
rt::MemberTable<T> hostMembers(std::u16string className) {
  using VS = rt::Ref<nubrel::VStream>;
  return rt::MemberTable<T>(std::move(className))
      .get(u"Defines", [](T& h) { return h.defines(); })
      .set(u"Defines", [](T& h, rt::Ref<jespin::IVValues> d) { h.setDefines(d.get()); })
      .prop(u"RunStop", [](T& h) { return h.runStop(); }, [](T& h, bool b) { h.setRunStop(b); })
      .method(u"ExecStream",
              [](T& h, VS vs) {
                if (!vs) rt::raise(rt::err::ObjectNotSet);
                h.execStream(*vs);
              })
      .method(u"FreeAll", [](T& h) { h.freeAll(); })
      .let(u"SourceName", [](T& h, const std::u16string& name) { h.setSourceName(name); })
      .get(u"ErrorLine", [](T& h) { return h.errorLine(); })
      .get(u"ErrorSource", [](T& h) { return h.errorSource(); });
}

}  // namespace engine
