// One run of a script, from its beginning to its end, however it ends.
//
// Beginning: the Application's record is cleared, the run's host becomes
// its current host, and the host's script space binds "Application" to it.
// End: "Application" is unbound, the host's events are let go of and its
// spaces freed, and the host the Application had before (none, or that of
// an outer run when a command handler started this one) is current again.
//
// The Application and the host stay alive until the end, whatever the
// handlers of its commands let go of.  Runs nest (a handler starting one)
// at most kMaxNesting deep: each takes native stack.  The run keeps its own copy of the
// last failure it recorded and leaves exactly that in the record at its
// end, so a later command (which clears the record) does not hide a failed
// line, and a run nested inside a command does not leave its failure to
// the outer run.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include "application.h"
#include "newobject.h"

namespace appiface {

class Run {
 public:
  static constexpr int kMaxNesting = 32;

  // `host` is new and sends its events to `app` already; `space` is its
  // script space; `finish` lets go of its events and frees it.  A failure
  // here (28 for a run nested too deep) finishes the host and raises.
  Run(Application& app, rt::Ref<rt::Object> host, rt::Ref<zorbel::ScriptSpace> space,
      std::function<void()> finish);
  ~Run();
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  // A copy of what the Application just recorded.
  void recorded(int32_t number, std::u16string_view source, std::u16string_view description,
                std::u16string_view fnName);

 private:
  void end() noexcept;

  rt::Ref<Application> app_;  // first, so that it goes last
  rt::Ref<rt::Object> host_;
  rt::Ref<zorbel::ScriptSpace> space_;
  std::function<void()> finish_;
  rt::Ref<rt::Object> outerHost_;
  Run* outerRun_;
  rt::Ref<jespin::IErrInfo> failure_;  // owned by nobody: its source reads as stored
  bool counted_ = false;               // among the runs in progress
};

// A run on a new host of the edition's engine (`Host` its interface, made
// by its class ID), whose events an `Events` made for the Application
// receives.
template <class Host, class Events>
class HostRun {
 public:
  explicit HostRun(Application& app)
      : host_(newObject<Host>(Host::clsid)),
        run_(app, host_, host_->sSpace(),
             [h = host_, cookie = host_->advise(rt::make<Events>(app))] {
               h->unadvise(cookie);
               h->freeAll();  // the host and its built-in objects hold each other
             }) {}

  Host& host() { return *host_; }

 private:
  rt::Ref<Host> host_;
  Run run_;
};

}  // namespace appiface
