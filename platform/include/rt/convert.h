// Conversions of Variants, as the automation change-type rules make them, in
// the user's locale profile.
//
// Every conversion to an integer type rounds a half to the even neighbour.
// Failures raise RuntimeError: 13 type mismatch (text that does not read,
// an object without a default value), 6 overflow, 94 invalid use of Null.
// An object converts through its default member.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/api.h"
#include "rt/locale.h"
#include "rt/variant.h"

namespace rt {

RT_API int16_t toInteger(const Variant& v);
RT_API int32_t toLong(const Variant& v);
RT_API uint8_t toByte(const Variant& v);
RT_API float toSingle(const Variant& v);
RT_API double toDouble(const Variant& v);
RT_API Currency toCurrency(const Variant& v);
RT_API Decimal toDecimal(const Variant& v);
RT_API Date toDate(const Variant& v);
RT_API bool toBool(const Variant& v);
// The text form (CStr).  Empty gives "".
RT_API std::u16string toText(const Variant& v);
// Calls `f` with the text of `v`: a text is handed over where it is, without
// a copy; anything else is converted first.
template <class F>
decltype(auto) withText(const Variant& v, F&& f) {
  if (v.isText()) return f(std::u16string_view(v.text()));
  return f(std::u16string_view(toText(v)));
}

// The change-type operation: `v` as type `to` (Empty and Null are accepted as
// targets: Empty clears, Null fails unless `v` is Null).  Objects are read
// through their default member unless `to` is Object.
RT_API Variant changeType(const Variant& v, VT to);

// The plain value of `v`: an object replaced by its default member's value
// (repeatedly), anything else unchanged.
RT_API Variant valueOf(const Variant& v);

// --- Text forms ---------------------------------------------------------

// 15 significant digits, the runtime's forms: "0.3", "1E+15", "1E-05",
// "1.23456789012346E+15".
RT_API std::u16string formatDouble(double d, const LocaleProfile& loc = currentLocale());
// 7 significant digits.
RT_API std::u16string formatSingle(float f, const LocaleProfile& loc = currentLocale());
RT_API std::u16string formatCurrency(Currency c, const LocaleProfile& loc = currentLocale());
RT_API std::u16string formatDecimal(const Decimal& d, const LocaleProfile& loc = currentLocale());
// The general date form: the short date when the day part is not 0, the long
// time when the time part is not 0; 0 itself gives the time "12:00:00 AM".
RT_API std::u16string formatDate(Date d, const LocaleProfile& loc = currentLocale());

// --- Reading text -------------------------------------------------------

// Reads a number as the runtime does: blanks around it, a sign in front or
// behind, parentheses for a negative, group separators, the currency symbol,
// an exponent, and the "&H" (hexadecimal) and "&O" (octal) forms.  The result
// holds the smallest fitting type of the runtime's text-to-number step
// (Double for decimal text, Integer or Long for "&H"/"&O").  False when the
// text is no number; `overflow` is set when it is a number out of range.
RT_API bool parseNumber(std::u16string_view s, Variant& out, bool& overflow,
                        const LocaleProfile& loc = currentLocale());
// Reads a date, a time, or both, in the forms the locale accepts ("1/31/2000",
// "2000-01-31", "Jan 31, 2000", "13:45", "1:45 PM" ...).
RT_API bool parseDate(std::u16string_view s, Date& out,
                      const LocaleProfile& loc = currentLocale());

// --- Date serials -------------------------------------------------------

struct DateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  int weekday = 7;  // 1 Sunday .. 7 Saturday
};

// Years 100 to 9999.  False outside that range.
RT_API bool serialFromDate(int year, int month, int day, double& serial);
// Fraction of a day for a time; no range check beyond the arithmetic.
RT_API double serialFromTime(int hour, int minute, int second);
// A serial with a time: the fraction counts forward from midnight also for
// dates before 30 December 1899.
RT_API double combineDateTime(double dateSerial, double timeFraction);
// Splits a serial (rounded to the second).  False outside the date range.
RT_API bool splitSerial(double serial, DateParts& parts);

// Rounds a half to the even neighbour.
RT_API double roundHalfEven(double d);

}  // namespace rt
