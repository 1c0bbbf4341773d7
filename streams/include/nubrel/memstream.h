// The text-coded stream in a string buffer.  Writes append to the buffer,
// reads take from the read position, whatever the direction: the direction
// is only reported.
#pragma once

#include <string>
#include <string_view>

#include "nubrel/vstream.h"

namespace nubrel {

class IMemStream : public virtual VStream {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Nubrel.IMemStream");
  static constexpr rt::Guid clsid = rt::classIdOf("Nubrel.MemStream");

  // Empties the buffer and starts reading from its beginning.
  virtual void init(StreamDir d) = 0;
  virtual std::u16string strBuffer() = 0;
  // Takes `text` as the buffer, to be read from its beginning (InStream).
  virtual void setStrBuffer(std::u16string_view text) = 0;
  // Starts reading from the beginning again; the buffer stays.
  virtual void setDir(StreamDir d) = 0;
};

}  // namespace nubrel
