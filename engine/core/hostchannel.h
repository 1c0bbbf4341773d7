// How the engine's input and output objects reach the program that embeds
// the engine: through the host that owns the running script, which raises
// its events on their behalf.  Engine-internal; the host implements it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/object.h"

namespace engine {

class HostChannel : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.HostChannel");

  // What the InputLine handler left in the buffer ("" when unhandled).
  virtual std::u16string raiseInputLine() = 0;
  // What the InputChar handler left (0 when unhandled).
  virtual int16_t raiseInputChar() = 0;
  virtual void raiseOutput(std::u16string_view s) = 0;
  virtual void raiseOutErr(std::u16string_view s) = 0;
};

}  // namespace engine
