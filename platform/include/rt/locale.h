// Locale profiles: how numbers and dates are written and read for the user.
//
// The system never asks the C library for this; it carries its own profiles.
// The profile is chosen once from the environment (LC_ALL, then LC_TIME, then
// LANG: a value starting with "zh" gives Chinese (PRC), anything else English
// (US)).  Tests pin the profile they rely on with `setLocale`.
#pragma once

#include <array>
#include <string>

#include "rt/api.h"

namespace rt {

enum class LocaleId { EnglishUS = 1033, ChinesePRC = 2052 };

// The order of day, month and year in a short date.
enum class DateOrder { MDY, DMY, YMD };

struct LocaleProfile {
  LocaleId id;
  std::u16string name;               // "en-US", "zh-CN"
  char16_t decimalSep;
  char16_t groupSep;
  int groupSize;                     // digits per group (3)
  std::u16string currencySymbol;
  // Currency layouts of the platform's locale data: positive 0 "$1", 1 "1$",
  // 2 "$ 1", 3 "1 $"; negative 0 "($1)", 1 "-$1", ...
  int currencyPositive;
  int currencyNegative;
  int currencyDigits;                // digits after the decimal separator
  int numberDigits;                  // digits after the separator in FormatNumber
  bool leadingZero;                  // "0.5" rather than ".5"
  int negativeNumber;                // 0 "(1.1)", 1 "-1.1", ...
  DateOrder dateOrder;
  std::u16string shortDate;          // picture, e.g. "M/d/yyyy"
  std::u16string longDate;           // e.g. "dddd, MMMM d, yyyy"
  std::u16string longTime;           // e.g. "h:mm:ss tt"
  std::u16string shortTime;          // e.g. "h:mm"
  char16_t dateSep;
  char16_t timeSep;
  std::u16string am;
  std::u16string pm;
  std::array<std::u16string, 12> monthNames;
  std::array<std::u16string, 12> monthAbbrev;
  std::array<std::u16string, 7> dayNames;     // Sunday first
  std::array<std::u16string, 7> dayAbbrev;
  int firstDayOfWeek;                // 1 Sunday .. 7 Saturday
  // The first week of a year: 1 the week of 1 January, 2 the first week with
  // four days in the year, 3 the first full week.
  int firstWeekOfYear;
  std::u16string trueName;           // text of True in formats ("True")
  std::u16string falseName;
};

RT_API const LocaleProfile& profileOf(LocaleId id);
// The user's profile.
RT_API const LocaleProfile& currentLocale();
RT_API void setLocale(LocaleId id);
// The profile the environment asks for.
RT_API LocaleId localeFromEnvironment();

}  // namespace rt
