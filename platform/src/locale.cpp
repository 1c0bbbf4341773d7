// The built-in locale profiles and the choice among them.
#include "rt/locale.h"

#include <cstdlib>
#include <string_view>

namespace rt {
namespace {

LocaleProfile englishUS() {
  return LocaleProfile{
      .id = LocaleId::EnglishUS,
      .name = u"en-US",
      .decimalSep = u'.',
      .groupSep = u',',
      .groupSize = 3,
      .currencySymbol = u"$",
      .currencyPositive = 0,  // "$1"
      .currencyNegative = 0,  // "($1)"
      .currencyDigits = 2,
      .numberDigits = 2,
      .leadingZero = true,
      .negativeNumber = 1,  // "-1.1"
      .dateOrder = DateOrder::MDY,
      .shortDate = u"M/d/yyyy",
      .longDate = u"dddd, MMMM d, yyyy",
      .longTime = u"h:mm:ss tt",
      .shortTime = u"h:mm",
      .dateSep = u'/',
      .timeSep = u':',
      .am = u"AM",
      .pm = u"PM",
      .monthNames = {u"January", u"February", u"March", u"April", u"May", u"June", u"July",
                     u"August", u"September", u"October", u"November", u"December"},
      .monthAbbrev = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep",
                      u"Oct", u"Nov", u"Dec"},
      .dayNames = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday",
                   u"Saturday"},
      .dayAbbrev = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"},
      .firstDayOfWeek = 1,
      .firstWeekOfYear = 1,
      .trueName = u"True",
      .falseName = u"False",
  };
}

// The profile the Windows desktop of the PRC uses (not the CLDR one): short
// dates with "/", a 24-hour long time, month names in characters.
LocaleProfile chinesePRC() {
  return LocaleProfile{
      .id = LocaleId::ChinesePRC,
      .name = u"zh-CN",
      .decimalSep = u'.',
      .groupSep = u',',
      .groupSize = 3,
      .currencySymbol = u"¥",
      .currencyPositive = 0,  // "¥1"
      .currencyNegative = 2,  // "¥-1"
      .currencyDigits = 2,
      .numberDigits = 2,
      .leadingZero = true,
      .negativeNumber = 1,
      .dateOrder = DateOrder::YMD,
      .shortDate = u"yyyy/M/d",
      .longDate = u"yyyy'年'M'月'd'日'",
      .longTime = u"H:mm:ss",
      .shortTime = u"H:mm",
      .dateSep = u'/',
      .timeSep = u':',
      .am = u"上午",
      .pm = u"下午",
      .monthNames = {u"一月", u"二月", u"三月", u"四月", u"五月", u"六月", u"七月", u"八月",
                     u"九月", u"十月", u"十一月", u"十二月"},
      .monthAbbrev = {u"1月", u"2月", u"3月", u"4月", u"5月", u"6月", u"7月", u"8月", u"9月",
                      u"10月", u"11月", u"12月"},
      .dayNames = {u"星期日", u"星期一", u"星期二", u"星期三", u"星期四", u"星期五",
                   u"星期六"},
      .dayAbbrev = {u"周日", u"周一", u"周二", u"周三", u"周四", u"周五", u"周六"},
      .firstDayOfWeek = 2,
      .firstWeekOfYear = 1,
      .trueName = u"True",
      .falseName = u"False",
  };
}

const LocaleProfile* current = nullptr;

}  // namespace

const LocaleProfile& profileOf(LocaleId id) {
  static const LocaleProfile en = englishUS();
  static const LocaleProfile zh = chinesePRC();
  return id == LocaleId::ChinesePRC ? zh : en;
}

const LocaleProfile& currentLocale() {
  if (!current) current = &profileOf(localeFromEnvironment());
  return *current;
}

void setLocale(LocaleId id) { current = &profileOf(id); }

LocaleId localeFromEnvironment() {
  // The first of these that is set and not empty decides, as the C library
  // would pick the category of dates.
  for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* v = std::getenv(name);
    if (!v || !*v) continue;
    return std::string_view(v).starts_with("zh") ? LocaleId::ChinesePRC : LocaleId::EnglishUS;
  }
  return LocaleId::EnglishUS;
}

}  // namespace rt
