// Date serials: days from 30 December 1899, the time of day as the fraction.
#include "datetime.h"

#include <cmath>
#include <ctime>

#include "rt/error.h"

namespace rt {
namespace datetime {
namespace {

// 1 January 1970 counted from 30 December 1899.
constexpr int64_t kUnixEpochDay = 25569;

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

void appendNumber(std::u16string& out, int v, int width) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
    v /= 10;
  } while (v > 0);
  if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), u'0');
  out += digits;
}

}  // namespace

// The civil-calendar algorithm over 400-year eras (March-based years).
int64_t dayFromCivil(int year, int month, int day) {
  int64_t y = year - (month <= 2);
  int64_t era = floorDiv(y, 400);
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + kUnixEpochDay;
}

void civilFromDay(int64_t serialDay, int& year, int& month, int& day) {
  int64_t z = serialDay - kUnixEpochDay + 719468;
  int64_t era = floorDiv(z, 146097);
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool inRange(double serial) {
  if (!std::isfinite(serial)) return false;
  double day = std::trunc(serial);
  return day >= kMinDay && day <= kMaxDay;
}

int currentYear() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

std::u16string formatPicture(const DateParts& p, std::u16string_view picture,
                             const LocaleProfile& loc) {
  std::u16string out;
  size_t i = 0;
  while (i < picture.size()) {
    char16_t c = picture[i];
    if (c == u'\'') {
      size_t end = picture.find(u'\'', i + 1);
      if (end == std::u16string_view::npos) end = picture.size();
      out += picture.substr(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    size_t n = 1;
    while (i + n < picture.size() && picture[i + n] == c) ++n;
    i += n;
    int w = static_cast<int>(n);
    int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    const std::u16string& ampm = p.hour < 12 ? loc.am : loc.pm;
    switch (c) {
      case u'd':
        if (n <= 2) appendNumber(out, p.day, w);
        else out += (n == 3 ? loc.dayAbbrev : loc.dayNames)[p.weekday - 1];
        break;
      case u'M':
        if (n <= 2) appendNumber(out, p.month, w);
        else out += (n == 3 ? loc.monthAbbrev : loc.monthNames)[p.month - 1];
        break;
      case u'y':
        if (n <= 2) appendNumber(out, p.year % 100, w);
        else appendNumber(out, p.year, 1);  // year 100 is "100"
        break;
      case u'h': appendNumber(out, hour12, std::min(w, 2)); break;
      case u'H': appendNumber(out, p.hour, std::min(w, 2)); break;
      case u'm': appendNumber(out, p.minute, std::min(w, 2)); break;
      case u's': appendNumber(out, p.second, std::min(w, 2)); break;
      case u't': out += n == 1 ? ampm.substr(0, 1) : ampm; break;
      default: out.append(n, c); break;
    }
  }
  return out;
}

}  // namespace datetime

bool serialFromDate(int year, int month, int day, double& serial) {
  // Months past 12 or below 1 carry into the year, days past the month's
  // end into the next month, as DateSerial counts them.
  int64_t m0 = static_cast<int64_t>(month) - 1;
  int64_t y = year + datetime::floorDiv(m0, 12);
  int m = static_cast<int>(m0 - datetime::floorDiv(m0, 12) * 12) + 1;
  if (y < 0 || y > 10000) return false;
  int64_t d = datetime::dayFromCivil(static_cast<int>(y), m, 1) + (static_cast<int64_t>(day) - 1);
  if (d < datetime::kMinDay || d > datetime::kMaxDay) return false;
  serial = static_cast<double>(d);
  return true;
}

double serialFromTime(int hour, int minute, int second) {
  return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

double combineDateTime(double dateSerial, double timeFraction) {
  return dateSerial < 0 ? dateSerial - timeFraction : dateSerial + timeFraction;
}

bool splitSerial(double serial, DateParts& parts) {
  if (!datetime::inRange(serial)) return false;
  double day = std::trunc(serial);
  // The fraction counts forward from midnight on both sides of day 0.
  double seconds = std::floor(std::fabs(serial - day) * 86400.0 + 0.5);
  int64_t instant = static_cast<int64_t>(day) * 86400 + static_cast<int64_t>(seconds);
  int64_t d = datetime::floorDiv(instant, 86400);
  int64_t s = instant - d * 86400;
  if (d > datetime::kMaxDay) {  // rounded past the last second of 9999
    d = datetime::kMaxDay;
    s = 86399;
  }
  datetime::civilFromDay(d, parts.year, parts.month, parts.day);
  parts.hour = static_cast<int>(s / 3600);
  parts.minute = static_cast<int>(s / 60 % 60);
  parts.second = static_cast<int>(s % 60);
  parts.weekday = static_cast<int>((d % 7 + 7 + 6) % 7) + 1;  // day 0 was a Saturday
  return true;
}

std::u16string formatDate(Date d, const LocaleProfile& loc) {
  DateParts p;
  if (!splitSerial(d.serial, p)) raise(err::Overflow);
  bool hasDate = !(p.year == 1899 && p.month == 12 && p.day == 30);
  bool hasTime = p.hour || p.minute || p.second;
  std::u16string out;
  if (hasDate) out = datetime::formatPicture(p, loc.shortDate, loc);
  if (hasTime || !hasDate) {
    if (hasDate) out += u' ';
    out += datetime::formatPicture(p, loc.longTime, loc);
  }
  return out;
}

}  // namespace rt
