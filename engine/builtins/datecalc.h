// Calendar arithmetic of the Date library: the interval codes, the week
// rules, and adding, counting and taking apart dates.
//
// The work is done on a Moment, whole days counted on a straight line from
// 30 December 1899 (negative before it) and the second of that day, so that
// dates before 1899, whose serials count the time forward from a negative
// day, need no special case.  Every result outside the years 100 to 9999 and
// every bad code raises error 5.
#pragma once

#include <cstdint>
#include <string_view>

#include "rt/locale.h"
#include "rt/variant.h"

namespace engine::datecalc {

// The interval codes "yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s".
enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };
// Case-blind; anything else raises 5.
Interval intervalOf(std::u16string_view code);

struct Moment {
  int64_t day = 0;     // days from 30 December 1899
  int32_t second = 0;  // 0 .. 86399
};
// Rounded to the second.
Moment momentOf(rt::Date d);
rt::Date dateOf(Moment m);

// A first day of the week 0 (the locale's), 1 Sunday .. 7 Saturday, and a
// first week of the year 0 (the locale's), 1 the week of 1 January, 2 the
// first week of four days, 3 the first full week, made concrete; other
// values raise 5.
int firstDayOf(int32_t code, const rt::LocaleProfile& loc);
int firstWeekOf(int32_t code, const rt::LocaleProfile& loc);

// Day of the week of `day`, 1 for `firstDay` .. 7.
int weekdayOf(int64_t day, int firstDay);

// DateAdd: `d` moved by `count` intervals; a month-based step keeps the day
// of the month, or the month's last day when it has fewer.
rt::Date add(Interval iv, int64_t count, rt::Date d);
// DateDiff: the interval boundaries crossed from `from` to `to`.  "w" counts
// whole weeks, "ww" the first days of the week after `from` up to `to`.
// Raises 6 when the count does not fit a Long.
int32_t diff(Interval iv, rt::Date from, rt::Date to, int firstDay);
// DatePart: the part of `d` the interval names.
int32_t part(Interval iv, rt::Date d, int firstDay, int firstWeek);

// TimeSerial: the time of h:m:s, parts out of range carried into the next
// unit, across midnight too.
rt::Date timeSerial(int32_t hour, int32_t minute, int32_t second);

}  // namespace engine::datecalc
