// How the engine's built-in objects reach the program that embeds the
// engine: through the host that owns the running script, which raises its
// events on their behalf.  Engine-internal; the host implements it.
//
// The built-ins live in the host's root space, so they hold the host
// through a HostLink rather than a counted reference: a host let go without
// freeAll is still freed, and a built-in that outlives its host fails
// cleanly (91) instead of reaching a host that is gone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/libname.h"
#include "rt/object.h"

namespace engine {

class HostLink;

class HostChannel : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = ENGINE_IID("HostChannel");

  // What the InputLine handler left in the buffer ("" when unhandled).
  virtual std::u16string raiseInputLine() = 0;
  // What the InputChar handler left (0 when unhandled).
  virtual int16_t raiseInputChar() = 0;
  virtual void raiseOutput(std::u16string_view s) = 0;
  virtual void raiseOutErr(std::u16string_view s) = 0;
  // The link to hold instead of the host.
  virtual rt::Ref<HostLink> link() = 0;
};

class HostLink final : public rt::Object {
 public:
  explicit HostLink(HostChannel& host) : host_(&host) {}

  // The host, or null once it is gone.
  HostChannel* host() const { return host_; }
  // Called by the host as it goes.
  void cut() { host_ = nullptr; }

 private:
  HostChannel* host_;
};

}  // namespace engine
