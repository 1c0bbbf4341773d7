// Date sections of a format (d dd ddd dddd ddddd dddddd, w ww, m mm mmm mmmm,
// q, y yy yyyy, h hh, n nn, s ss, ttttt, c, the AM/PM forms, ":" and "/" as
// the locale's separators), the week rules, and FormatDateTime.
#include <algorithm>
#include <cmath>

#include "datetime.h"
#include "formatparts.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/format.h"

namespace rt {
namespace fmt {
namespace {

DateParts partsOf(double serial) {
  DateParts p;
  if (!splitSerial(serial, p)) raise(err::Overflow);
  return p;
}

int resolvedFirstDay(int firstDayOfWeek, const LocaleProfile& loc) {
  return firstDayOfWeek == 0 ? loc.firstDayOfWeek : firstDayOfWeek;
}

void appendNumber(std::u16string& out, int v, int width) {
  std::string d = std::to_string(v);
  if (static_cast<int>(d.size()) < width) out.append(width - d.size(), u'0');
  out.append(d.begin(), d.end());
}

char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + 32 : c; }

// Whether the unquoted pieces at `at` spell `word` (case ignored).
bool spells(const Section& s, size_t at, std::u16string_view word) {
  if (at + word.size() > s.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (s[at + k].quoted || lower(s[at + k].ch) != word[k]) return false;
  return true;
}

// The AM/PM forms, longest first: their length at `at`, or 0.
size_t amPmAt(const Section& s, size_t at) {
  for (std::u16string_view w : {u"am/pm", u"ampm", u"a/p"})
    if (spells(s, at, w)) return w.size();
  return 0;
}

bool hasAmPm(const Section& s) {
  for (size_t i = 0; i < s.size(); ++i)
    if (amPmAt(s, i)) return true;
  return false;
}

void appendAmPm(std::u16string& out, const Section& s, size_t at, size_t len, int hour,
                const LocaleProfile& loc) {
  bool pm = hour >= 12;
  if (len == 4) {  // AMPM: the locale's own words
    out += pm ? loc.pm : loc.am;
    return;
  }
  bool upper = s[at].ch == u'A';
  std::u16string_view word = pm ? (upper ? u"PM" : u"pm") : (upper ? u"AM" : u"am");
  out += len == 3 ? word.substr(0, 1) : word;
}

int dayOfYear(const DateParts& p) {
  return static_cast<int>(datetime::dayFromCivil(p.year, p.month, p.day) -
                          datetime::dayFromCivil(p.year, 1, 1)) + 1;
}

// How many letters a token of `c` takes from a run of `n`.
size_t tokenLength(char16_t c, size_t n) {
  switch (c) {
    case u'd': return std::min<size_t>(n, 6);
    case u'm': return std::min<size_t>(n, 4);
    case u'y': return n >= 4 ? 4 : n >= 2 ? 2 : 1;  // "yyy" is yy then y
    case u'w':
    case u'h':
    case u'n':
    case u's': return std::min<size_t>(n, 2);
    default: return 1;
  }
}

}  // namespace

bool isDateToken(const Section& s, size_t at) {
  if (s[at].quoted) return false;
  switch (lower(s[at].ch)) {
    case u'c':
    case u'd':
    case u'h':
    case u'm':
    case u'n':
    case u'q':
    case u's':
    case u'w':
    case u'y': return true;
    case u't': return spells(s, at, u"ttttt");
    case u'a': return amPmAt(s, at) != 0;
    default: return false;
  }
}

void checkWeekRules(int firstDayOfWeek, int firstWeekOfYear) {
  if (firstDayOfWeek < 0 || firstDayOfWeek > 7 || firstWeekOfYear < 0 || firstWeekOfYear > 3)
    raise(err::InvalidCall);
}

std::u16string formatDateSection(double serial, const Section& s, int firstDayOfWeek,
                                 int firstWeekOfYear, const LocaleProfile& loc) {
  DateParts p = partsOf(serial);
  bool twelveHour = hasAmPm(s);
  bool afterHour = false;  // m and mm right after an hour are minutes
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    const Piece& piece = s[i];
    char16_t c = lower(piece.ch);
    if (piece.quoted) {
      out.push_back(piece.ch);
      ++i;
      continue;
    }
    if (size_t len = amPmAt(s, i)) {
      appendAmPm(out, s, i, len, p.hour, loc);
      i += len;
      continue;
    }
    size_t run = 1;
    while (i + run < s.size() && !s[i + run].quoted && lower(s[i + run].ch) == c) ++run;
    size_t n = tokenLength(c, run);
    bool token = true;  // literals leave afterHour as it was
    switch (c) {
      case u'c': out += formatDate(Date{serial}, loc); break;
      case u'd':
        if (n <= 2) appendNumber(out, p.day, static_cast<int>(n));
        else if (n <= 4) out += (n == 3 ? loc.dayAbbrev : loc.dayNames)[p.weekday - 1];
        else out += datetime::formatPicture(p, n == 5 ? loc.shortDate : loc.longDate, loc);
        break;
      case u'w':
        if (n == 1) appendNumber(out, weekdayOf(Date{serial}, firstDayOfWeek, loc), 1);
        else appendNumber(out, weekOfYear(Date{serial}, firstDayOfWeek, firstWeekOfYear, loc), 1);
        break;
      case u'm':
        if (n <= 2 && afterHour) appendNumber(out, p.minute, static_cast<int>(n));
        else if (n <= 2) appendNumber(out, p.month, static_cast<int>(n));
        else out += (n == 3 ? loc.monthAbbrev : loc.monthNames)[p.month - 1];
        break;
      case u'q': appendNumber(out, (p.month - 1) / 3 + 1, 1); break;
      case u'y':
        if (n == 1) appendNumber(out, dayOfYear(p), 1);
        else if (n == 2) appendNumber(out, p.year % 100, 2);
        else appendNumber(out, p.year, 1);
        break;
      case u'h': {
        int h = twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
        appendNumber(out, h, static_cast<int>(n));
        break;
      }
      case u'n': appendNumber(out, p.minute, static_cast<int>(n)); break;
      case u's': appendNumber(out, p.second, static_cast<int>(n)); break;
      case u't':
        if (run >= 5) {
          out += datetime::formatPicture(p, loc.longTime, loc);
          n = 5;
        } else {
          n = run;
          for (size_t k = 0; k < run; ++k) out.push_back(s[i + k].ch);
          token = false;
        }
        break;
      case u':':
        out.push_back(loc.timeSep);
        token = false;
        break;
      case u'/':
        out.push_back(loc.dateSep);
        token = false;
        break;
      default:
        out.push_back(piece.ch);
        token = false;
        break;
    }
    if (token) afterHour = c == u'h';
    i += n;
  }
  return out;
}

}  // namespace fmt

int weekdayOf(Date d, int firstDayOfWeek, const LocaleProfile& loc) {
  fmt::checkWeekRules(firstDayOfWeek, 1);
  DateParts p = fmt::partsOf(d.serial);
  int first = fmt::resolvedFirstDay(firstDayOfWeek, loc);
  return (p.weekday - first + 7) % 7 + 1;
}

int weekOfYear(Date d, int firstDayOfWeek, int firstWeekOfYear, const LocaleProfile& loc) {
  fmt::checkWeekRules(firstDayOfWeek, firstWeekOfYear);
  DateParts p = fmt::partsOf(d.serial);
  int first = fmt::resolvedFirstDay(firstDayOfWeek, loc);
  int64_t day = datetime::dayFromCivil(p.year, p.month, p.day);
  // The first day of week 1 of a year.
  auto weekOneOf = [&](int year) {
    int64_t jan1 = datetime::dayFromCivil(year, 1, 1);
    int weekday = static_cast<int>(((jan1 % 7) + 7 + 6) % 7) + 1;  // day 0 was a Saturday
    int64_t intoWeek = (weekday - first + 7) % 7;  // days of the week before 1 January
    int64_t start = jan1 - intoWeek;
    bool late = (firstWeekOfYear == 2 && intoWeek > 3) || (firstWeekOfYear == 3 && intoWeek > 0);
    return late ? start + 7 : start;
  };
  int64_t start = weekOneOf(p.year);
  if (day < start) start = weekOneOf(p.year - 1);
  return static_cast<int>((day - start) / 7) + 1;
}

std::u16string formatDateTime(const Variant& value, int style, const LocaleProfile& loc) {
  if (style < 0 || style > 4) raise(err::InvalidCall);
  Variant v = valueOf(value);
  if (v.isText()) {
    Variant read;
    if (!fmt::readNumberOrDate(v.text(), read, loc)) raise(err::TypeMismatch);
    v = read;
  }
  double serial = toDate(v).serial;
  DateParts p = fmt::partsOf(serial);
  switch (style) {
    case 1: return datetime::formatPicture(p, loc.longDate, loc);
    case 2: return datetime::formatPicture(p, loc.shortDate, loc);
    case 3: return datetime::formatPicture(p, loc.longTime, loc);
    case 4: return datetime::formatPicture(p, u"HH:mm", loc);
    default: return formatDate(Date{serial}, loc);
  }
}

}  // namespace rt
