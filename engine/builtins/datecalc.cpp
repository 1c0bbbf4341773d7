#include "builtins/datecalc.h"

#include <algorithm>
#include <limits>

#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"

namespace engine::datecalc {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

[[noreturn]] void invalid() { rt::raise(rt::err::InvalidCall); }

bool isLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int64_t y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// The day of a calendar date, raising 5 outside the years 100 to 9999.
int64_t dayOf(int64_t year, int month, int day) {
  double serial = 0;
  if (year < 100 || year > 9999 || !rt::serialFromDate(static_cast<int>(year), month, day, serial))
    invalid();
  return static_cast<int64_t>(serial);
}

// 1 January of `year`.  The week rules also ask about the years just outside
// the range (a week that began in year 99 or ends in year 10000).
int64_t firstDayOfYear(int64_t year) {
  if (year < 100) return firstDayOfYear(year + 1) - (isLeap(year) ? 366 : 365);
  if (year > 9999) return firstDayOfYear(year - 1) + (isLeap(year - 1) ? 366 : 365);
  return dayOf(year, 1, 1);
}

rt::DateParts partsOf(rt::Date d) {
  rt::DateParts p;
  if (!rt::splitSerial(d.serial, p)) invalid();
  return p;
}

Moment momentOf(const rt::DateParts& p) {
  return {dayOf(p.year, p.month, p.day), p.hour * 3600 + p.minute * 60 + p.second};
}

int64_t secondsOf(Moment m) { return m.day * kSecondsPerDay + m.second; }

Moment momentAtSecond(int64_t seconds) {
  int64_t day = floorDiv(seconds, kSecondsPerDay);
  return {day, static_cast<int32_t>(seconds - day * kSecondsPerDay)};
}

rt::Date addMonths(const rt::DateParts& p, int64_t months, int32_t second) {
  int64_t total = p.year * int64_t{12} + (p.month - 1) + months;
  int64_t year = floorDiv(total, 12);
  int month = static_cast<int>(total - year * 12) + 1;
  if (year < 100 || year > 9999) invalid();
  int day = std::min(p.day, daysInMonth(year, month));
  return dateOf({dayOf(year, month, day), second});
}

// The first day of the week that holds `day`.
int64_t weekStart(int64_t day, int firstDay) { return day - (weekdayOf(day, firstDay) - 1); }

int64_t firstWeekStart(int64_t year, int firstDay, int firstWeek) {
  int64_t jan1 = firstDayOfYear(year);
  int64_t start = weekStart(jan1, firstDay);
  switch (firstWeek) {
    case 2: return jan1 - start <= 3 ? start : start + 7;  // four days or more in the year
    case 3: return start == jan1 ? start : start + 7;
    default: return start;
  }
}

// Week 1 is the year's first week by the rule.  Days before it belong to the
// last week of the year before; under the four-day rule the last days of
// December may already be week 1 of the next year.
int32_t weekOfYear(int64_t day, int64_t year, int firstDay, int firstWeek) {
  int64_t start = firstWeekStart(year, firstDay, firstWeek);
  if (day < start)
    start = firstWeekStart(year - 1, firstDay, firstWeek);
  else if (firstWeek != 1 && day >= firstWeekStart(year + 1, firstDay, firstWeek))
    return 1;
  return static_cast<int32_t>((day - start) / 7 + 1);
}

}  // namespace

Interval intervalOf(std::u16string_view code) {
  static constexpr struct {
    std::u16string_view code;
    Interval iv;
  } kCodes[] = {
      {u"yyyy", Interval::Year}, {u"q", Interval::Quarter},  {u"m", Interval::Month},
      {u"y", Interval::DayOfYear}, {u"d", Interval::Day},    {u"w", Interval::Weekday},
      {u"ww", Interval::Week},   {u"h", Interval::Hour},     {u"n", Interval::Minute},
      {u"s", Interval::Second},
  };
  for (const auto& c : kCodes)
    if (rt::equalsNoCase(c.code, code)) return c.iv;
  invalid();
}

Moment momentOf(rt::Date d) { return momentOf(partsOf(d)); }

rt::Date dateOf(Moment m) {
  // Far outside the range, the day would not fit serialFromDate's int.
  if (m.day < -1000000 || m.day > 4000000) invalid();
  double serial = 0;
  if (!rt::serialFromDate(1899, 12, 30 + static_cast<int>(m.day), serial)) invalid();
  return rt::Date{rt::combineDateTime(serial, m.second / static_cast<double>(kSecondsPerDay))};
}

int firstDayOf(int32_t code, const rt::LocaleProfile& loc) {
  if (code == 0) return loc.firstDayOfWeek;
  if (code < 1 || code > 7) invalid();
  return code;
}

int firstWeekOf(int32_t code, const rt::LocaleProfile& loc) {
  if (code == 0) return loc.firstWeekOfYear;
  if (code < 1 || code > 3) invalid();
  return code;
}

int weekdayOf(int64_t day, int firstDay) {
  int sunday1 = static_cast<int>((day % 7 + 7 + 6) % 7) + 1;  // day 0 was a Saturday
  return (sunday1 - firstDay + 7) % 7 + 1;
}

rt::Date add(Interval iv, int64_t count, rt::Date d) {
  rt::DateParts p = partsOf(d);
  Moment m = momentOf(p);
  switch (iv) {
    case Interval::Year: return addMonths(p, count * 12, m.second);
    case Interval::Quarter: return addMonths(p, count * 3, m.second);
    case Interval::Month: return addMonths(p, count, m.second);
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday: return dateOf({m.day + count, m.second});
    case Interval::Week: return dateOf({m.day + 7 * count, m.second});
    case Interval::Hour: return dateOf(momentAtSecond(secondsOf(m) + count * 3600));
    case Interval::Minute: return dateOf(momentAtSecond(secondsOf(m) + count * 60));
    case Interval::Second: return dateOf(momentAtSecond(secondsOf(m) + count));
  }
  invalid();
}

int32_t diff(Interval iv, rt::Date from, rt::Date to, int firstDay) {
  rt::DateParts pa = partsOf(from), pb = partsOf(to);
  Moment a = momentOf(pa), b = momentOf(pb);
  int64_t n = 0;
  switch (iv) {
    case Interval::Year: n = pb.year - pa.year; break;
    case Interval::Quarter:
      n = (pb.year * 4 + (pb.month - 1) / 3) - (pa.year * 4 + (pa.month - 1) / 3);
      break;
    case Interval::Month: n = (pb.year * 12 + pb.month) - (pa.year * 12 + pa.month); break;
    case Interval::DayOfYear:
    case Interval::Day: n = b.day - a.day; break;
    case Interval::Weekday: n = (b.day - a.day) / 7; break;
    case Interval::Week: n = (weekStart(b.day, firstDay) - weekStart(a.day, firstDay)) / 7; break;
    case Interval::Hour: n = floorDiv(secondsOf(b), 3600) - floorDiv(secondsOf(a), 3600); break;
    case Interval::Minute: n = floorDiv(secondsOf(b), 60) - floorDiv(secondsOf(a), 60); break;
    case Interval::Second: n = secondsOf(b) - secondsOf(a); break;
  }
  if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
    rt::raise(rt::err::Overflow);
  return static_cast<int32_t>(n);
}

int32_t part(Interval iv, rt::Date d, int firstDay, int firstWeek) {
  rt::DateParts p = partsOf(d);
  switch (iv) {
    case Interval::Year: return p.year;
    case Interval::Quarter: return (p.month - 1) / 3 + 1;
    case Interval::Month: return p.month;
    case Interval::DayOfYear:
      return static_cast<int32_t>(dayOf(p.year, p.month, p.day) - firstDayOfYear(p.year) + 1);
    case Interval::Day: return p.day;
    case Interval::Weekday: return weekdayOf(momentOf(p).day, firstDay);
    case Interval::Week: return weekOfYear(momentOf(p).day, p.year, firstDay, firstWeek);
    case Interval::Hour: return p.hour;
    case Interval::Minute: return p.minute;
    case Interval::Second: return p.second;
  }
  invalid();
}

rt::Date timeSerial(int32_t hour, int32_t minute, int32_t second) {
  return dateOf(momentAtSecond(hour * int64_t{3600} + minute * int64_t{60} + second));
}

}  // namespace engine::datecalc
