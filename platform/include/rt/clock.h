// The local clock (the Date and Dir libraries, the packer), and the local
// time of a file's stamp.  Tests pin the clock to a moment of their choice.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

#include "rt/api.h"
#include "rt/convert.h"
#include "rt/variant.h"

namespace rt {

struct LocalTime {
  rt::DateParts parts;  // to the second, on the local clock
  int32_t nanos = 0;    // of that second
};

// The present moment, or the pinned one.
RT_API LocalTime localNow();
// The local time of a moment of the system clock.
RT_API LocalTime localTimeOf(std::time_t seconds, int32_t nanos = 0);

// The date and time of a local time as a serial (to the second), its date,
// and its seconds since midnight with the fraction.
RT_API rt::Date dateTimeOf(const LocalTime& t);
RT_API rt::Date dateOnlyOf(const LocalTime& t);
RT_API double secondsOfDay(const LocalTime& t);

// While one lives, localNow answers `t`.
class RT_API PinnedClock {
 public:
  explicit PinnedClock(const LocalTime& t);
  ~PinnedClock();
  PinnedClock(const PinnedClock&) = delete;
  PinnedClock& operator=(const PinnedClock&) = delete;

 private:
  std::optional<LocalTime> saved_;
};

}  // namespace rt
