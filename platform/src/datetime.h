// Calendar arithmetic and date pictures shared by the date conversions and
// the date functions of the libraries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/convert.h"
#include "rt/locale.h"

namespace rt::datetime {

// Serials of 1 January 100 and 31 December 9999.
constexpr int32_t kMinDay = -657434;
constexpr int32_t kMaxDay = 2958465;

// Days from 30 December 1899 to a date of the proleptic Gregorian calendar,
// and back.  No range check.
int64_t dayFromCivil(int year, int month, int day);
void civilFromDay(int64_t serialDay, int& year, int& month, int& day);
int daysInMonth(int year, int month);
// A serial whose day part lies between kMinDay and kMaxDay.
bool inRange(double serial);
// The year of today's date on the local clock.
int currentYear();

// Writes a date through a picture of the locale's kind: d dd ddd dddd, M MM
// MMM MMMM, y yy yyyy, h hh H HH, m mm, s ss, t tt, and 'quoted' literals.
std::u16string formatPicture(const DateParts& p, std::u16string_view picture,
                             const LocaleProfile& loc);

}  // namespace rt::datetime
