// The runtime's formatting: Format with its format expressions, the
// FormatNumber, FormatCurrency and FormatPercent family, FormatDateTime, and
// the week arithmetic that date formats and date functions share.
//
// Everything is written by our own code in a locale profile.  Numbers round a
// half away from zero (Format(2.5, "0") is "3"), unlike the conversions to
// integer types, which round a half to the even neighbour.  Failures raise
// RuntimeError: 5 for an argument out of its range, 13 for a value that is
// no number or date where one is needed, 6 for a date out of range.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/api.h"
#include "rt/locale.h"
#include "rt/variant.h"

namespace rt {

// Format(value, format, firstDayOfWeek, firstWeekOfYear).
//
// `format` is a named format ("General Number", "Currency", "Fixed",
// "Standard", "Percent", "Scientific", "Yes/No", "True/False", "On/Off",
// "General Date", "Long Date", "Medium Date", "Short Date", "Long Time",
// "Medium Time", "Short Time"; case ignored) or up to four sections split by
// ";" (positive; negative; zero; Null) of number, date or text placeholders.
// An empty format gives the value's plain text.  Text that reads as a number
// or a date (in `loc`) is formatted as one; other text is formatted only by
// text sections and otherwise returned as it is.  Null gives the Null
// section, or "" when there is none.
//
// firstDayOfWeek: 1 Sunday .. 7 Saturday, 0 the locale's.  firstWeekOfYear:
// 1 the week of 1 January, 2 the first week with four days, 3 the first
// full week, 0 the same as 1.  Others raise 5.
RT_API std::u16string formatValue(const Variant& value, std::u16string_view format,
                                  int firstDayOfWeek = 1, int firstWeekOfYear = 1,
                                  const LocaleProfile& loc = currentLocale());

// The switches of FormatNumber and its kin: -1 on, 0 off, -2 the locale's.
inline constexpr int kUseDefault = -2;

struct NumberOptions {
  int digits = -1;  // after the decimal separator; -1 the locale's
  int leadingZero = kUseDefault;
  int parentheses = kUseDefault;  // for negative values
  int grouping = kUseDefault;
};

enum class NumberStyle { Number, Currency, Percent };

// FormatNumber, FormatCurrency (the locale's symbol and layouts) and
// FormatPercent (times 100, followed by "%").  Digits beyond 99 raise 5.
RT_API std::u16string formatNumber(const Variant& value, NumberStyle style,
                                   const NumberOptions& options = {},
                                   const LocaleProfile& loc = currentLocale());

// FormatDateTime: 0 general date, 1 long date, 2 short date, 3 long time,
// 4 short time (24-hour "hh:mm").
RT_API std::u16string formatDateTime(const Variant& value, int style,
                                     const LocaleProfile& loc = currentLocale());

// The day of the week of `d`, 1 to 7 counted from `firstDayOfWeek`, and the
// week of its year, with the rules of formatValue (both checked, 5).
RT_API int weekdayOf(Date d, int firstDayOfWeek, const LocaleProfile& loc = currentLocale());
RT_API int weekOfYear(Date d, int firstDayOfWeek, int firstWeekOfYear,
                      const LocaleProfile& loc = currentLocale());

}  // namespace rt
