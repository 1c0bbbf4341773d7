// Where the running code is: the line of the statement that runs now and
// the source its lines were read from, so that a failure can be reported
// where it happened.
//
// A statement stores its line as it starts (one store, no lookup).  A run
// of a stream starts in the source its host was told; a user function's
// call switches to the source its lines came from and switches back when
// the call ends well.  A failure leaves the place of the innermost code
// that failed, which the host keeps with the error.  Everything runs on one
// thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

struct Place {
  int32_t line = 0;    // 0: not known
  int32_t source = 0;  // a number of sourceNumber; 0: no name
};

inline Place running;

// The number of a source's name: the same for the same name (compared as
// written), 0 for the empty name.  Names past kMaxSources get 0.
inline constexpr int32_t kMaxSources = 4096;
int32_t sourceNumber(std::u16string_view name);
// The name of a number sourceNumber gave ("" for 0).
std::u16string sourceName(int32_t number);

// The code of one source runs for as long as this lives.  The place it
// was started from comes back only once the code has ended well: after a
// failure the place of the code that failed stays for the host to report.
class SourceRun {
 public:
  explicit SourceRun(int32_t source) : saved_(running) {
    running.source = source;
    running.line = 0;
  }
  ~SourceRun() {
    if (endedWell_) running = saved_;
  }
  SourceRun(const SourceRun&) = delete;
  SourceRun& operator=(const SourceRun&) = delete;

  void endedWell() { endedWell_ = true; }

 private:
  Place saved_;
  bool endedWell_ = false;
};

}  // namespace engine
