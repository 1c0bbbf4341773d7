// The events both editions' hosts raise (engine/hostevents.h): the sinks a
// host keeps, and raising each event over them on the host's behalf.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/hostevents.h"
#include "rt/events.h"
#include "rt/object.h"

namespace engine {

class HostEvents {
 public:
  // Raises 91 for no sink.  Returns a cookie for unadvise.
  uint32_t advise(rt::Ref<ScriptHostEvents> sink);
  void unadvise(uint32_t cookie) { sinks_.unadvise(cookie); }

  // Each raises its event with `host` kept alive meanwhile.  What the
  // InputLine handlers left in the buffer ("" when unhandled), what the
  // InputChar handlers left (0 when unhandled).
  std::u16string inputLine(rt::Object* host);
  int16_t inputChar(rt::Object* host);
  void output(rt::Object* host, std::u16string_view s);
  void outErr(rt::Object* host, std::u16string_view s);
  void includeFile(rt::Object* host, const std::u16string& file);

 private:
  rt::EventSource<ScriptHostEvents> sinks_;
};

}  // namespace engine
