#include "rt/clock.h"

#include "rt/error.h"

namespace rt {

namespace {

std::optional<LocalTime> pinned;

}  // namespace

LocalTime localTimeOf(std::time_t seconds, int32_t nanos) {
  std::tm tm{};
  if (!localtime_r(&seconds, &tm)) rt::raise(rt::err::InvalidCall);
  LocalTime t;
  t.parts.year = tm.tm_year + 1900;
  t.parts.month = tm.tm_mon + 1;
  t.parts.day = tm.tm_mday;
  // A leap second reads as the last second of its minute.
  t.parts.hour = tm.tm_hour;
  t.parts.minute = tm.tm_min;
  t.parts.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
  t.parts.weekday = tm.tm_wday + 1;
  t.nanos = nanos;
  return t;
}

LocalTime localNow() {
  if (pinned) return *pinned;
  std::timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return localTimeOf(ts.tv_sec, static_cast<int32_t>(ts.tv_nsec));
}

rt::Date dateOnlyOf(const LocalTime& t) {
  double serial = 0;
  // Outside the years 100 to 9999 no date of the system can hold it.
  if (!rt::serialFromDate(t.parts.year, t.parts.month, t.parts.day, serial))
    rt::raise(rt::err::Overflow);
  return rt::Date{serial};
}

rt::Date dateTimeOf(const LocalTime& t) {
  return rt::Date{rt::combineDateTime(dateOnlyOf(t).serial,
                                      rt::serialFromTime(t.parts.hour, t.parts.minute, t.parts.second))};
}

double secondsOfDay(const LocalTime& t) {
  return t.parts.hour * 3600.0 + t.parts.minute * 60.0 + t.parts.second + t.nanos / 1e9;
}

PinnedClock::PinnedClock(const LocalTime& t) : saved_(pinned) { pinned = t; }
PinnedClock::~PinnedClock() { pinned = saved_; }

}  // namespace rt
