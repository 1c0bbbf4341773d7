// The text-coded stream whose characters come from and go to its host, through
// events.  It writes no header and keeps no position.
#pragma once

#include <cstdint>
#include <string>

#include "nubrel/vstream.h"

namespace nubrel {

// The host's side.  A sink answers only the events it cares about.
class EventStreamEvents : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Nubrel.EventStreamEvents");

  // One piece the coding writes: a byte's character, 4 or 8 hexadecimal
  // digits, or a text's count and then its text (even when empty).
  virtual void writeString(const std::u16string& str) {}
  // One piece the coding reads.  `strBuf` comes preset to `readSize`
  // spaces; whatever the host leaves in it is taken as the characters read.
  virtual void readString(std::u16string& strBuf, int32_t readSize) {}
  // Raised by eof(), `isEOF` preset to false.
  virtual void chackEOF(bool& isEOF) {}
};

class IEventStream : public virtual VStream {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Nubrel.IEventStream");
  static constexpr rt::Guid clsid = rt::classIdOf("Nubrel.EventStream");

  virtual void init(StreamDir d) = 0;
  // Returns a cookie for unadvise.
  virtual uint32_t advise(rt::Ref<EventStreamEvents> sink) = 0;
  virtual void unadvise(uint32_t cookie) = 0;
};

}  // namespace nubrel
