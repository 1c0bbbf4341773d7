// One key at a time from a terminal: while a RawKeys lives, a terminal on
// standard input gives each key as it is pressed, without waiting for Enter
// and without echoing it.  The terminal's settings come back when it goes,
// and also when the program is ended by a signal meanwhile (interrupt,
// quit, hang-up, terminate).  On anything but a terminal it does nothing.
#pragma once

#include <termios.h>

#include <cstdio>

namespace zubrun {

class RawKeys {
 public:
  explicit RawKeys(std::FILE* in);
  ~RawKeys();
  RawKeys(const RawKeys&) = delete;
  RawKeys& operator=(const RawKeys&) = delete;

  bool active() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
  termios saved_{};
};

}  // namespace zubrun
