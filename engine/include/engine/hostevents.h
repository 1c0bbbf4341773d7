// The events of a script host, the same for both editions' hosts: raised
// synchronously while a script runs, for the program that embeds the
// engine to answer.
#pragma once

#include <cstdint>
#include <string>

#include "rt/object.h"

namespace engine {

// Every handler has an empty default.
class ScriptHostEvents : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Engine.ScriptHostEvents");

  // The script asks for a line; the handler leaves it in `inBuf` (which
  // arrives empty).
  virtual void inputLine(std::u16string& inBuf) {}
  // The script asks for one character; the handler leaves its code in
  // `aCode` (which arrives 0).
  virtual void inputChar(int16_t& aCode) {}
  // Text the script writes.
  virtual void output(const std::u16string& s) {}
  // Error text (no operation of the engine raises it).
  virtual void outErr(const std::u16string& s) {}
  // An include directive: the rest of its line, trimmed, as written.
  virtual void includeFile(const std::u16string& s) {}
};

}  // namespace engine
