// The temporary files a signal removes: the handler of rt/signals.h walks
// a list that is changed only while the signals it handles are held, so it
// never sees it half changed.  Nothing is listed until the handler is
// installed.
#pragma once

#include <signal.h>

#include <string>

namespace rt::tempnames {

// Holds the handled signals on this thread for its lifetime: a signal
// arriving meanwhile waits.  Nothing while no handler is installed.
class Held {
 public:
  Held();
  ~Held();
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;

 private:
  bool held_ = false;
  sigset_t previous_;
};

// `path` of the folder `dirFd` is a temporary file made now; forget: it is
// renamed or removed.  Each under Held.
void add(int dirFd, const std::string& path);
void forget(int dirFd, const std::string& path);

}  // namespace rt::tempnames
