// The Date library: every function through the text frame, in both locale
// profiles, with the clock pinned.
#include <gtest/gtest.h>

#include <vector>

#include "rt/clock.h"
#include "builtins/svdatefuns.h"
#include "libcases.h"
#include "rt/convert.h"
#include "rt/locale.h"
#include "testsupport.h"

using namespace engine;
using enginetest::fun;
using enginetest::utf8;

namespace {

rt::Variant date(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  double serial = 0;
  EXPECT_TRUE(rt::serialFromDate(y, m, d, serial));
  return rt::Variant(rt::Date{rt::combineDateTime(serial, rt::serialFromTime(h, mi, s))});
}
rt::Variant i(int16_t v) { return rt::Variant(v); }
rt::Variant t(const char16_t* s) { return rt::Variant(s); }

class LocaleScope {
 public:
  explicit LocaleScope(rt::LocaleId id) { rt::setLocale(id); }
  ~LocaleScope() { rt::setLocale(rt::LocaleId::EnglishUS); }
};

// Friday 15 March 2024, 9:05:07.25 in the morning.
rt::LocalTime pinnedMoment() {
  rt::LocalTime t;
  t.parts = {2024, 3, 15, 9, 5, 7, 6};
  t.nanos = 250000000;
  return t;
}

const std::string kBadCount = "1005 Kestrin.SvDateFuns.DateFuns";
const std::string kInvalid = "5 Kestrin.SvDateFuns.ScriptValue_FunCall\r\n";

void runCases(const std::vector<enginetest::Case>& cases) {
  rt::PinnedClock clock(pinnedMoment());
  enginetest::runCases<SvDateFuns>(cases);
}

}  // namespace

TEST(DateLibrary, DateAdd) {
  runCases({
      {u"DateAdd", {t(u"m"), i(1), date(2024, 1, 31)}, "Date 2/29/2024"},
      {u"dateadd", {t(u"M"), i(1), date(2023, 1, 31)}, "Date 2/28/2023"},
      {u"DateAdd", {t(u"m"), i(13), date(2023, 12, 15)}, "Date 1/15/2025"},
      {u"DateAdd", {t(u"m"), i(-1), date(2024, 1, 31)}, "Date 12/31/2023"},
      {u"DateAdd", {t(u"yyyy"), i(1), date(2024, 2, 29, 13, 30)}, "Date 2/28/2025 1:30:00 PM"},
      {u"DateAdd", {t(u"q"), i(-1), date(2024, 5, 31)}, "Date 2/29/2024"},
      {u"DateAdd", {t(u"y"), i(1), date(2024, 12, 31)}, "Date 1/1/2025"},
      {u"DateAdd", {t(u"d"), i(-1), date(2024, 3, 1)}, "Date 2/29/2024"},
      {u"DateAdd", {t(u"w"), i(1), date(2024, 1, 5)}, "Date 1/6/2024"},  // days, not workdays
      {u"DateAdd", {t(u"ww"), i(2), date(2024, 12, 25)}, "Date 1/8/2025"},
      {u"DateAdd", {t(u"h"), i(25), date(2023, 12, 31, 1)}, "Date 1/1/2024 2:00:00 AM"},
      {u"DateAdd", {t(u"n"), i(-1), date(2024, 1, 1)}, "Date 12/31/2023 11:59:00 PM"},
      {u"DateAdd", {t(u"s"), i(59), date(2024, 1, 1, 23, 59, 1)}, "Date 1/2/2024"},
      // Before 30 December 1899 the time still counts forward from midnight.
      {u"DateAdd", {t(u"h"), i(-1), date(1899, 12, 30, 0, 30)}, "Date 12/29/1899 11:30:00 PM"},
      {u"DateAdd", {t(u"h"), i(2), date(1899, 12, 28, 23)}, "Date 12/29/1899 1:00:00 AM"},
      // A number with a fraction is rounded first, a half to the even one.
      {u"DateAdd", {t(u"d"), rt::Variant(1.5), date(2024, 1, 1)}, "Date 1/3/2024"},
      {u"DateAdd", {t(u"d"), rt::Variant(2.5), date(2024, 1, 1)}, "Date 1/3/2024"},
      {u"DateAdd", {t(u"d"), t(u"1"), t(u"2024-01-31"), t(u"extra")}, "Date 2/1/2024"},
      {u"DateAdd", {t(u"yyyy"), i(-2000), date(2024, 1, 1)}, "Nothing", kInvalid},
      {u"DateAdd", {t(u"s"), i(1), date(9999, 12, 31, 23, 59, 59)}, "Nothing", kInvalid},
      {u"DateAdd", {t(u"x"), i(1), date(2024, 1, 1)}, "Nothing", kInvalid},
      {u"DateAdd", {t(u"mm"), i(1), date(2024, 1, 1)}, "Nothing", kInvalid},
      {u"DateAdd", {t(u"d"), t(u"one"), date(2024, 1, 1)}, "Nothing",
       "13 Kestrin.SvDateFuns.ScriptValue_FunCall\r\n"},
      {u"DateAdd", {t(u"d"), i(1), t(u"not a date")}, "Nothing",
       "13 Kestrin.SvDateFuns.ScriptValue_FunCall\r\n"},
      {u"DateAdd", {t(u"d"), i(1)}, "Empty", kBadCount},
  });
}

TEST(DateLibrary, DateDiff) {
  runCases({
      {u"DateDiff", {t(u"yyyy"), date(2023, 12, 31), date(2024, 1, 1)}, "Long 1"},
      {u"DateDiff", {t(u"yyyy"), date(2024, 1, 1), date(2024, 12, 31)}, "Long 0"},
      {u"DateDiff", {t(u"q"), date(2024, 3, 31), date(2024, 4, 1)}, "Long 1"},
      {u"DateDiff", {t(u"q"), date(2024, 4, 1), date(2023, 12, 31)}, "Long -2"},
      {u"DateDiff", {t(u"m"), date(2024, 1, 31), date(2024, 2, 1)}, "Long 1"},
      {u"DateDiff", {t(u"d"), date(2024, 1, 1, 23, 59), date(2024, 1, 2, 0, 1)}, "Long 1"},
      {u"DateDiff", {t(u"y"), date(2024, 3, 1), date(2024, 2, 28)}, "Long -2"},
      // "w": whole weeks; "ww": first days of the week crossed.
      {u"DateDiff", {t(u"w"), date(2024, 1, 1), date(2024, 1, 14)}, "Long 1"},
      {u"DateDiff", {t(u"w"), date(2024, 1, 1), date(2024, 1, 15)}, "Long 2"},
      {u"DateDiff", {t(u"w"), date(2024, 1, 15), date(2024, 1, 2)}, "Long -1"},
      {u"DateDiff", {t(u"ww"), date(2024, 1, 6), date(2024, 1, 7)}, "Long 1"},
      {u"DateDiff", {t(u"ww"), date(2024, 1, 7), date(2024, 1, 13)}, "Long 0"},
      {u"DateDiff", {t(u"ww"), date(2024, 1, 6), date(2024, 1, 7), i(2)}, "Long 0"},
      {u"DateDiff", {t(u"ww"), date(2024, 1, 7), date(2024, 1, 8), i(2)}, "Long 1"},
      {u"DateDiff", {t(u"ww"), date(2024, 1, 7), date(2024, 1, 8), i(0)}, "Long 0"},  // Sunday
      {u"DateDiff", {t(u"ww"), date(2024, 1, 7), date(2024, 1, 8), i(1), i(3)}, "Long 0"},
      {u"DateDiff", {t(u"h"), date(2024, 1, 1, 1, 59, 59), date(2024, 1, 1, 2)}, "Long 1"},
      {u"DateDiff", {t(u"h"), date(1899, 12, 29, 23), date(1899, 12, 30, 1)}, "Long 2"},
      {u"DateDiff", {t(u"n"), date(2024, 1, 1, 1, 59, 59), date(2024, 1, 1, 2)}, "Long 1"},
      {u"DateDiff", {t(u"s"), date(2024, 1, 1), date(2023, 12, 31, 23, 59)}, "Long -60"},
      {u"DateDiff", {t(u"s"), date(100, 1, 1), date(9999, 12, 31)}, "Nothing",
       "6 Kestrin.SvDateFuns.ScriptValue_FunCall\r\n"},
      {u"DateDiff", {t(u"d"), date(100, 1, 1), date(9999, 12, 31)}, "Long 3615899"},
      {u"DateDiff", {t(u"ww"), date(2024, 1, 1), date(2024, 1, 8), i(8)}, "Nothing", kInvalid},
      {u"DateDiff", {t(u"ww"), date(2024, 1, 1), date(2024, 1, 8), i(1), i(4)}, "Nothing", kInvalid},
      {u"DateDiff", {t(u"yyyy"), date(2024, 1, 1)}, "Empty", kBadCount},
      {u"DateDiff", {t(u"d"), date(2024, 1, 1), date(2024, 1, 2), i(1), i(1), i(1)}, "Empty", kBadCount},
  });
}

TEST(DateLibrary, DatePartEachInterval) {
  rt::Variant leapDay = date(2024, 2, 29, 13, 45, 30);  // a Thursday
  runCases({
      {u"DatePart", {t(u"yyyy"), leapDay}, "Integer 2024"},
      {u"DatePart", {t(u"q"), leapDay}, "Integer 1"},
      {u"DatePart", {t(u"m"), leapDay}, "Integer 2"},
      {u"DatePart", {t(u"y"), leapDay}, "Integer 60"},
      {u"DatePart", {t(u"y"), date(2024, 12, 31)}, "Integer 366"},
      {u"DatePart", {t(u"d"), leapDay}, "Integer 29"},
      {u"DatePart", {t(u"w"), leapDay}, "Integer 5"},
      {u"DatePart", {t(u"w"), leapDay, i(2)}, "Integer 4"},
      {u"DatePart", {t(u"w"), leapDay, i(5)}, "Integer 1"},
      {u"DatePart", {t(u"ww"), leapDay}, "Integer 9"},
      {u"DatePart", {t(u"h"), leapDay}, "Integer 13"},
      {u"DatePart", {t(u"n"), leapDay}, "Integer 45"},
      {u"DatePart", {t(u"s"), leapDay}, "Integer 30"},
      {u"DatePart", {t(u"q"), date(2024, 10, 1)}, "Integer 4"},
      {u"DatePart", {t(u"z"), leapDay}, "Nothing", kInvalid},
      {u"DatePart", {t(u"w"), leapDay, i(-1)}, "Nothing", kInvalid},
      {u"DatePart", {t(u"yyyy")}, "Empty", kBadCount},
      {u"DatePart", {t(u"d"), leapDay, i(1), i(1), i(1)}, "Empty", kBadCount},
  });
}

TEST(DateLibrary, DatePartWeekRules) {
  // 1 January 2021 is a Friday; 1 January 2000 a Saturday; 30 December 2024
  // a Monday whose week holds five days of 2025.
  runCases({
      // The week of 1 January (the default, and the locale's).
      {u"DatePart", {t(u"ww"), date(2021, 1, 1)}, "Integer 1"},
      {u"DatePart", {t(u"ww"), date(2021, 1, 1), i(1), i(1)}, "Integer 1"},
      {u"DatePart", {t(u"ww"), date(2021, 1, 1), i(1), i(0)}, "Integer 1"},
      {u"DatePart", {t(u"ww"), date(2021, 1, 3)}, "Integer 2"},
      {u"DatePart", {t(u"ww"), date(2024, 12, 31)}, "Integer 53"},
      {u"DatePart", {t(u"ww"), date(2000, 12, 31)}, "Integer 54"},
      // The first week with four days: the first days of 2021 are in 2020's last week.
      {u"DatePart", {t(u"ww"), date(2021, 1, 1), i(1), i(2)}, "Integer 53"},
      {u"DatePart", {t(u"ww"), date(2021, 1, 3), i(1), i(2)}, "Integer 1"},
      {u"DatePart", {t(u"ww"), date(2024, 12, 30), i(2), i(2)}, "Integer 1"},
      {u"DatePart", {t(u"ww"), date(2024, 12, 29), i(2), i(2)}, "Integer 52"},
      {u"DatePart", {t(u"ww"), date(2026, 1, 1), i(2), i(2)}, "Integer 1"},
      {u"DatePart", {t(u"ww"), date(2027, 1, 1), i(2), i(2)}, "Integer 53"},
      // The first full week.
      {u"DatePart", {t(u"ww"), date(2021, 1, 1), i(1), i(3)}, "Integer 52"},
      {u"DatePart", {t(u"ww"), date(2021, 1, 3), i(1), i(3)}, "Integer 1"},
      {u"DatePart", {t(u"ww"), date(2024, 1, 1), i(2), i(3)}, "Integer 1"},
      {u"DatePart", {t(u"ww"), date(2024, 12, 31), i(2), i(3)}, "Integer 53"},
      {u"DatePart", {t(u"ww"), date(2024, 1, 1), i(1), i(3)}, "Integer 53"},
      // At the ends of the range the rules look into years 99 and 10000.
      {u"DatePart", {t(u"ww"), date(100, 1, 1), i(1), i(3)}, "Integer 52"},
      {u"DatePart", {t(u"ww"), date(9999, 12, 31), i(2), i(2)}, "Integer 52"},
      {u"DatePart", {t(u"ww"), date(2024, 1, 1), i(1), i(4)}, "Nothing", kInvalid},
  });
}

TEST(DateLibrary, WeekdaysAndNames) {
  runCases({
      {u"Weekday", {date(2024, 1, 1)}, "Integer 2"},
      {u"Weekday", {date(2024, 1, 1), i(2)}, "Integer 1"},
      {u"Weekday", {date(2024, 1, 7), i(2)}, "Integer 7"},
      {u"Weekday", {date(1899, 12, 30)}, "Integer 7"},
      {u"Weekday", {date(1800, 1, 1)}, "Integer 4"},  // a Wednesday
      {u"Weekday", {date(2024, 1, 1), i(0)}, "Integer 2"},
      {u"Weekday", {}, "Integer 6"},
      {u"Weekday", {date(2024, 1, 1), i(8)}, "Nothing", kInvalid},
      {u"Weekday", {date(2024, 1, 1), i(1), i(1)}, "Empty", kBadCount},
      {u"WeekdayName", {i(1)}, "String Sunday"},
      {u"WeekdayName", {i(1), rt::Variant(true)}, "String Sun"},
      {u"WeekdayName", {i(1), rt::Variant(false), i(2)}, "String Monday"},
      {u"WeekdayName", {i(7), rt::Variant(false), i(2)}, "String Sunday"},
      {u"WeekdayName", {i(3), t(u"True"), i(7)}, "String Mon"},
      {u"WeekdayName", {}, "String Friday"},
      {u"WeekdayName", {i(0)}, "Nothing", kInvalid},
      {u"WeekdayName", {i(8)}, "Nothing", kInvalid},
      {u"WeekdayName", {i(1), rt::Variant(false), i(9)}, "Nothing", kInvalid},
      {u"WeekdayName", {i(1), rt::Variant(false), i(1), i(1)}, "Empty", kBadCount},
      {u"MonthName", {i(2)}, "String February"},
      {u"MonthName", {i(2), rt::Variant(true)}, "String Feb"},
      {u"MonthName", {}, "String March"},
      {u"MonthName", {i(13)}, "Nothing", kInvalid},
      {u"MonthName", {t(u"x")}, "Nothing", "13 Kestrin.SvDateFuns.ScriptValue_FunCall\r\n"},
      {u"MonthName", {i(2), rt::Variant(true), i(1)}, "Empty", kBadCount},
  });
}

TEST(DateLibrary, TimeSerialCarries) {
  runCases({
      {u"TimeSerial", {i(12 - 6), i(-15), i(0)}, "Date 5:45:00 AM"},
      {u"TimeSerial", {i(0), i(0), i(90)}, "Date 12:01:30 AM"},
      {u"TimeSerial", {i(0), i(-1), i(0)}, "Date 12/29/1899 11:59:00 PM"},
      {u"TimeSerial", {i(-1), i(0), i(0)}, "Date 12/29/1899 11:00:00 PM"},
      {u"TimeSerial", {i(25), i(0), i(0)}, "Date 12/31/1899 1:00:00 AM"},
      {u"TimeSerial", {i(23), i(59), i(60)}, "Date 12/31/1899"},
      {u"TimeSerial", {i(32767), i(32767), i(32767)}, "Date 10/19/1903 10:13:07 AM"},
      {u"TimeSerial", {t(u"1.5"), i(0), i(0), t(u"x")}, "Date 2:00:00 AM"},
      {u"TimeSerial", {rt::Variant(int32_t{40000}), i(0), i(0)}, "Nothing",
       "6 Kestrin.SvDateFuns.ScriptValue_FunCall\r\n"},
      {u"TimeSerial", {i(1), i(2)}, "Empty", kBadCount},
      // DateSerial is no function of this library.
      {u"DateSerial", {i(2024), i(14), i(35)}, "Integer 0"},
  });
}

TEST(DateLibrary, PartsValuesAndTheClock) {
  rt::Variant when = date(2024, 2, 29, 13, 45, 30);
  runCases({
      {u"Day", {when}, "Integer 29"},
      {u"Day", {when, t(u"ignored")}, "Integer 29"},
      {u"Month", {when}, "Integer 2"},
      {u"Year", {when}, "Integer 2024"},
      {u"Hour", {when}, "Integer 13"},
      {u"Minute", {when}, "Integer 45"},
      {u"Second", {when}, "Integer 30"},
      {u"Hour", {t(u"1:45 PM")}, "Integer 13"},
      {u"Day", {t(u"13:45")}, "Integer 30"},
      {u"Year", {date(1800, 7, 4)}, "Integer 1800"},
      {u"Year", {when, when}, "Empty", kBadCount},
      {u"Day", {t(u"soon")}, "Nothing", "13 Kestrin.SvDateFuns.ScriptValue_FunCall\r\n"},
      {u"DateValue", {t(u"2/29/2024 1:45 PM")}, "Date 2/29/2024"},
      {u"DateValue", {t(u"2024-02-29")}, "Date 2/29/2024"},
      {u"DateValue", {date(1899, 12, 29, 18)}, "Date 12/29/1899"},
      {u"DateValue", {t(u"February 30, 2024")}, "Nothing", "13 Kestrin.SvDateFuns.ScriptValue_FunCall\r\n"},
      {u"DateValue", {}, "Empty", kBadCount},
      {u"TimeValue", {t(u"2/29/2024 1:45 PM")}, "Date 1:45:00 PM"},
      {u"TimeValue", {t(u"13:45:10")}, "Date 1:45:10 PM"},
      {u"TimeValue", {date(1899, 12, 29, 18)}, "Date 6:00:00 PM"},
      {u"TimeValue", {}, "Empty", kBadCount},
      // Without a date: the clock.
      {u"Day", {}, "Integer 15"},
      {u"Month", {}, "Integer 3"},
      {u"Year", {}, "Integer 2024"},
      {u"Hour", {}, "Integer 9"},
      {u"Minute", {}, "Integer 5"},
      {u"Second", {}, "Integer 7"},
      {u"Date", {}, "Date 3/15/2024"},
      {u"Date", {i(1), i(2)}, "Date 3/15/2024"},
      {u"Now", {}, "Date 3/15/2024 9:05:07 AM"},
      {u"Time", {}, "Date 9:05:07 AM"},
      {u"Timer", {}, "Single 32707.25"},
      {u"Tomorrow", {}, "Integer 0"},
  });
}

TEST(DateLibrary, ChineseProfile) {
  LocaleScope zh(rt::LocaleId::ChinesePRC);
  runCases({
      {u"DateAdd", {t(u"m"), i(1), date(2024, 1, 31)}, "Date 2024/2/29"},
      {u"DateAdd", {t(u"h"), i(5), date(2024, 1, 31, 20)}, "Date 2024/2/1 1:00:00"},
      {u"DateDiff", {t(u"yyyy"), date(2023, 12, 31), date(2024, 1, 1)}, "Long 1"},
      {u"DateDiff", {t(u"ww"), date(2024, 1, 7), date(2024, 1, 8), i(0)}, "Long 1"},  // Monday
      {u"DatePart", {t(u"w"), date(2024, 1, 1), i(0)}, "Integer 1"},
      {u"DatePart", {t(u"ww"), date(2024, 12, 30), i(0), i(0)}, "Integer 53"},
      {u"Weekday", {date(2024, 1, 1)}, "Integer 2"},
      {u"Weekday", {date(2024, 1, 1), i(0)}, "Integer 1"},
      {u"WeekdayName", {i(1)}, "String 星期一"},
      {u"WeekdayName", {i(1), rt::Variant(true), i(1)}, "String 周日"},
      {u"WeekdayName", {}, "String 星期五"},
      {u"MonthName", {i(2)}, "String 二月"},
      {u"MonthName", {i(12), rt::Variant(true)}, "String 12月"},
      {u"DateValue", {t(u"2024年2月29日")}, "Date 2024/2/29"},
      {u"TimeValue", {t(u"下午1:45")}, "Date 13:45:00"},
      {u"TimeSerial", {i(-1), i(0), i(0)}, "Date 1899/12/29 23:00:00"},
      {u"Year", {t(u"2024/2/29")}, "Integer 2024"},
      {u"Now", {}, "Date 2024/3/15 9:05:07"},
      {u"Time", {}, "Date 9:05:07"},
  });
}

TEST(DateLibrary, CountRecordsNothingElseRefuses) {
  auto f = fun<SvDateFuns>(u"Year");
  EXPECT_EQ(f->count(), 0);
  EXPECT_EQ(utf8(f->error().source()), "Kestrin.SvDateFuns.ScriptValue_Count");
  EXPECT_EQ(f->flag(), 12);
}
