#include "builtins/svdatefuns.h"

#include "rt/clock.h"
#include "builtins/datecalc.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/locale.h"

namespace engine {

namespace {

using datecalc::Interval;

rt::Variant integer(int32_t v) { return rt::Variant(static_cast<int16_t>(v)); }

// The date of argument i, or the present moment when the call has none.
rt::DateParts partsOf(const TextArgs& a, int32_t i) {
  if (a.count() < i) return rt::localNow().parts;
  rt::DateParts p;
  if (!rt::splitSerial(a.toDate(i).serial, p)) rt::raise(rt::err::InvalidCall);
  return p;
}

// An optional code argument (first day or week), 1 when not given.
int32_t codeOr1(const TextArgs& a, int32_t i) { return a.count() >= i ? a.toInt(i) : 1; }

rt::Variant dateFun(const TextArgs&) { return rt::Variant(rt::dateOnlyOf(rt::localNow())); }
rt::Variant nowFun(const TextArgs&) { return rt::Variant(rt::dateTimeOf(rt::localNow())); }

rt::Variant timeFun(const TextArgs&) {
  const rt::DateParts& p = rt::localNow().parts;
  return rt::Variant(rt::Date{rt::serialFromTime(p.hour, p.minute, p.second)});
}

rt::Variant timerFun(const TextArgs&) {
  return rt::Variant(static_cast<float>(rt::secondsOfDay(rt::localNow())));
}

// DateAdd(interval, number, date): a number with a fraction is rounded first.
rt::Variant dateAddFun(const TextArgs& a) {
  Interval iv = datecalc::intervalOf(a.text(1));
  return rt::Variant(datecalc::add(iv, a.toInt(2), a.toDate(3)));
}

// DateDiff(interval, date1, date2[, firstDay[, firstWeek]]): the first week
// is checked but changes no count: "ww" counts first days of the week.
rt::Variant dateDiffFun(const TextArgs& a) {
  const rt::LocaleProfile& loc = rt::currentLocale();
  Interval iv = datecalc::intervalOf(a.text(1));
  rt::Date from = a.toDate(2), to = a.toDate(3);
  int firstDay = datecalc::firstDayOf(codeOr1(a, 4), loc);
  datecalc::firstWeekOf(codeOr1(a, 5), loc);
  return rt::Variant(datecalc::diff(iv, from, to, firstDay));
}

rt::Variant datePartFun(const TextArgs& a) {
  const rt::LocaleProfile& loc = rt::currentLocale();
  Interval iv = datecalc::intervalOf(a.text(1));
  rt::Date d = a.toDate(2);
  int firstDay = datecalc::firstDayOf(codeOr1(a, 3), loc);
  int firstWeek = datecalc::firstWeekOf(codeOr1(a, 4), loc);
  return integer(datecalc::part(iv, d, firstDay, firstWeek));
}

rt::Variant dateValueFun(const TextArgs& a) {
  return rt::Variant(datecalc::dateOf({datecalc::momentOf(a.toDate(1)).day, 0}));
}

rt::Variant timeValueFun(const TextArgs& a) {
  return rt::Variant(datecalc::dateOf({0, datecalc::momentOf(a.toDate(1)).second}));
}

rt::Variant timeSerialFun(const TextArgs& a) {
  return rt::Variant(datecalc::timeSerial(a.toShort(1), a.toShort(2), a.toShort(3)));
}

rt::Variant dayFun(const TextArgs& a) { return integer(partsOf(a, 1).day); }
rt::Variant monthFun(const TextArgs& a) { return integer(partsOf(a, 1).month); }
rt::Variant yearFun(const TextArgs& a) { return integer(partsOf(a, 1).year); }
rt::Variant hourFun(const TextArgs& a) { return integer(partsOf(a, 1).hour); }
rt::Variant minuteFun(const TextArgs& a) { return integer(partsOf(a, 1).minute); }
rt::Variant secondFun(const TextArgs& a) { return integer(partsOf(a, 1).second); }

// Weekday([date[, firstDay]]): counted from Sunday unless told otherwise.
rt::Variant weekdayFun(const TextArgs& a) {
  int firstDay = datecalc::firstDayOf(codeOr1(a, 2), rt::currentLocale());
  rt::Date d = a.count() >= 1 ? a.toDate(1) : rt::dateOnlyOf(rt::localNow());
  return integer(datecalc::weekdayOf(datecalc::momentOf(d).day, firstDay));
}

rt::Variant monthNameFun(const TextArgs& a) {
  const rt::LocaleProfile& loc = rt::currentLocale();
  if (a.count() == 0) return rt::Variant(loc.monthNames[rt::localNow().parts.month - 1]);
  int32_t month = a.toInt(1);
  if (month < 1 || month > 12) rt::raise(rt::err::InvalidCall);
  bool abbreviate = a.count() >= 2 && a.toBool(2);
  return rt::Variant((abbreviate ? loc.monthAbbrev : loc.monthNames)[month - 1]);
}

// WeekdayName([day[, abbreviate[, firstDay]]]): day 1 is the first day of the
// week, the locale's unless told otherwise.
rt::Variant weekdayNameFun(const TextArgs& a) {
  const rt::LocaleProfile& loc = rt::currentLocale();
  if (a.count() == 0) return rt::Variant(loc.dayNames[rt::localNow().parts.weekday - 1]);
  int32_t day = a.toInt(1);
  bool abbreviate = a.count() >= 2 && a.toBool(2);
  int firstDay = datecalc::firstDayOf(a.count() >= 3 ? a.toInt(3) : 0, loc);
  if (day < 1 || day > 7) rt::raise(rt::err::InvalidCall);
  return rt::Variant((abbreviate ? loc.dayAbbrev : loc.dayNames)[(firstDay - 1 + day - 1) % 7]);
}

// In the order the names are tested.
const TextFun kDateFuns[] = {
    {u"Date", anyCount(), &dateFun},
    {u"DateAdd", atLeast(3), &dateAddFun},
    {u"DateDiff", between(3, 5), &dateDiffFun},
    {u"DatePart", between(2, 4), &datePartFun},
    {u"DateValue", atLeast(1), &dateValueFun},
    {u"Day", anyCount(), &dayFun},
    {u"Hour", anyCount(), &hourFun},
    {u"Minute", anyCount(), &minuteFun},
    {u"Month", anyCount(), &monthFun},
    {u"MonthName", between(0, 2), &monthNameFun},
    {u"Now", anyCount(), &nowFun},
    {u"Second", anyCount(), &secondFun},
    {u"Time", anyCount(), &timeFun},
    {u"Timer", anyCount(), &timerFun},
    {u"TimeSerial", atLeast(3), &timeSerialFun},
    {u"TimeValue", atLeast(1), &timeValueFun},
    {u"Weekday", between(0, 2), &weekdayFun},
    {u"WeekdayName", between(0, 3), &weekdayNameFun},
    {u"Year", between(0, 1), &yearFun},
};

}  // namespace

std::span<const TextFun> SvDateFuns::functions() { return kDateFuns; }

}  // namespace engine
