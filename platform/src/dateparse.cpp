// Reading dates and times from text: numeric dates in the locale's order,
// ISO dates, month and weekday names, 12- and 24-hour times, and the Chinese
// forms with 年 月 日 时 分 秒 and 上午 / 下午.
#include <utility>
#include <vector>

#include "datetime.h"
#include "rt/convert.h"
#include "rt/text.h"

namespace rt {
namespace {

enum class Kind { Number, Month, Weekday, Am, Pm, Mark, Sep };

struct Token {
  Kind kind;
  int value = 0;       // number, month 1..12, or the mark character
  int digits = 0;      // of a number
  char16_t sep = 0;    // of a separator
};

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isAsciiLetter(char16_t c) { return (c | 0x20) >= u'a' && (c | 0x20) <= u'z'; }

// The words a date may contain, in both profiles: a date written on one
// desktop reads on the other.
struct Word {
  std::u16string_view text;
  Kind kind;
  int value;
};

const std::vector<Word>& dictionary() {
  static const std::vector<Word> words = [] {
    std::vector<Word> w;
    for (LocaleId id : {LocaleId::EnglishUS, LocaleId::ChinesePRC}) {
      const LocaleProfile& p = profileOf(id);
      for (int m = 0; m < 12; ++m) {
        w.push_back({p.monthNames[m], Kind::Month, m + 1});
        w.push_back({p.monthAbbrev[m], Kind::Month, m + 1});
      }
      for (int d = 0; d < 7; ++d) {
        w.push_back({p.dayNames[d], Kind::Weekday, d + 1});
        w.push_back({p.dayAbbrev[d], Kind::Weekday, d + 1});
      }
      w.push_back({p.am, Kind::Am, 0});
      w.push_back({p.pm, Kind::Pm, 0});
    }
    w.push_back({u"Sept", Kind::Month, 9});
    for (std::u16string_view mark : {u"年", u"月", u"日", u"号", u"时", u"点", u"分", u"秒"})
      w.push_back({mark, Kind::Mark, mark[0]});
    return w;
  }();
  return words;
}

bool tokenize(std::u16string_view s, const LocaleProfile& loc, std::vector<Token>& out) {
  const std::vector<Word>& words = dictionary();
  size_t i = 0;
  while (i < s.size()) {
    char16_t c = s[i];
    if (isDigit(c)) {
      Token t{Kind::Number};
      for (; i < s.size() && isDigit(s[i]); ++i) {
        if (++t.digits > 9) return false;  // no part of a date is that long
        t.value = t.value * 10 + (s[i] - u'0');
      }
      out.push_back(t);
      continue;
    }
    if (c == u' ' || c == u'\t' || c == 0x3000 || c == u'/' || c == u'-' || c == u'.' ||
        c == u',' || c == u':' || c == loc.dateSep || c == loc.timeSep) {
      out.push_back(Token{Kind::Sep, 0, 0, c == 0x3000 || c == u'\t' ? u' ' : c});
      ++i;
      continue;
    }
    // ISO's "T" between a date and a time.
    if ((c == u'T' || c == u't') && i > 0 && isDigit(s[i - 1]) && i + 1 < s.size() &&
        isDigit(s[i + 1])) {
      out.push_back(Token{Kind::Sep, 0, 0, u' '});
      ++i;
      continue;
    }
    const Word* best = nullptr;
    for (const Word& w : words) {
      if (w.text.empty() || w.text.size() > s.size() - i) continue;
      if (best && w.text.size() <= best->text.size()) continue;
      if (!equalsNoCase(s.substr(i, w.text.size()), w.text)) continue;
      size_t end = i + w.text.size();
      if (isAsciiLetter(w.text.back()) && end < s.size() && isAsciiLetter(s[end])) continue;
      best = &w;
    }
    if (!best) return false;
    out.push_back(Token{best->kind, best->value});
    i += best->text.size();
  }
  return true;
}

struct Number {
  int value;
  int digits;
};

struct Fields {
  int year = -1, yearDigits = 4, month = -1, day = -1;
  int hour = -1, minute = -1, second = -1;
  int ampm = 0;  // 1 AM, 2 PM
  std::vector<Number> loose;  // date numbers without a name or mark
  bool dotted = false;        // "." between date numbers
};

bool setOnce(int& field, int value) {
  if (field >= 0) return false;
  field = value;
  return true;
}

// "1 PM": a number right before AM or PM is an hour, unless a time follows
// the word, as in the Chinese "2000/1/31 下午 1:45".
bool hourBeforeAmPm(const std::vector<Token>& t, size_t i) {
  auto kindAt = [&](size_t j) { return j < t.size() ? t[j].kind : Kind::Sep; };
  auto isBlankAt = [&](size_t j) { return j < t.size() && t[j].kind == Kind::Sep && t[j].sep == u' '; };
  size_t w = isBlankAt(i + 1) ? i + 2 : i + 1;
  if (kindAt(w) != Kind::Am && kindAt(w) != Kind::Pm) return false;
  size_t next = isBlankAt(w + 1) ? w + 2 : w + 1;
  return !(next < t.size() && t[next].kind == Kind::Number);
}

// Sorts the tokens into fields.
bool collect(const std::vector<Token>& t, Fields& f) {
  auto at = [&](size_t i, Kind k, char16_t sep = 0) {
    return i < t.size() && t[i].kind == k && (!sep || t[i].sep == sep);
  };
  for (size_t i = 0; i < t.size(); ++i) {
    const Token& k = t[i];
    switch (k.kind) {
      case Kind::Sep:
        if (k.sep == u':') return false;  // a ":" outside a time
        if (k.sep == u'.') f.dotted = true;
        break;
      case Kind::Month:
        if (!setOnce(f.month, k.value)) return false;
        break;
      case Kind::Weekday:
        break;
      case Kind::Am:
      case Kind::Pm:
        if (f.ampm) return false;
        f.ampm = k.kind == Kind::Am ? 1 : 2;
        break;
      case Kind::Mark:
        return false;  // a mark without its number
      case Kind::Number:
        if (at(i + 1, Kind::Sep, u':')) {
          // h:mm or h:mm:ss
          if (!at(i + 2, Kind::Number) || !setOnce(f.hour, k.value)) return false;
          f.minute = t[i + 2].value;
          i += 2;
          if (at(i + 1, Kind::Sep, u':')) {
            if (!at(i + 2, Kind::Number)) return false;
            f.second = t[i + 2].value;
            i += 2;
          }
        } else if (at(i + 1, Kind::Mark)) {
          char16_t mark = static_cast<char16_t>(t[++i].value);
          bool ok = true;
          switch (mark) {
            case u'年':
              ok = setOnce(f.year, k.value);
              f.yearDigits = k.digits;
              break;
            case u'月': ok = setOnce(f.month, k.value); break;
            case u'日': case u'号': ok = setOnce(f.day, k.value); break;
            case u'时': case u'点': ok = setOnce(f.hour, k.value); break;
            case u'分': ok = setOnce(f.minute, k.value); break;
            default: ok = setOnce(f.second, k.value); break;
          }
          if (!ok) return false;
        } else if (hourBeforeAmPm(t, i)) {
          if (!setOnce(f.hour, k.value)) return false;  // "1 PM"
        } else {
          f.loose.push_back({k.value, k.digits});
        }
        break;
    }
  }
  return true;
}

bool looksLikeYear(const Number& n) { return n.digits >= 3 || n.value > 31; }

// Places the loose numbers into year, month and day.
bool placeDate(Fields& f, const LocaleProfile& loc) {
  std::vector<Number>& n = f.loose;
  if (n.size() > 3) return false;
  // A "." makes "2.5" a number, not the 5th of February.
  if (f.dotted && n.size() < 3) return false;
  auto setYear = [&](const Number& x) {
    f.year = x.value;
    f.yearDigits = x.digits;
  };
  if (f.month >= 0) {
    for (const Number& x : n) {
      if (f.year < 0 && (looksLikeYear(x) || f.day >= 0)) setYear(x);
      else if (f.day < 0) f.day = x.value;
      else return false;
    }
    return true;
  }
  if (n.size() == 3) {
    DateOrder order = loc.dateOrder;
    if (looksLikeYear(n[0])) order = DateOrder::YMD;
    else if (looksLikeYear(n[2])) order = loc.dateOrder == DateOrder::DMY ? DateOrder::DMY : DateOrder::MDY;
    switch (order) {
      case DateOrder::MDY: f.month = n[0].value, f.day = n[1].value, setYear(n[2]); break;
      case DateOrder::DMY: f.day = n[0].value, f.month = n[1].value, setYear(n[2]); break;
      case DateOrder::YMD: setYear(n[0]), f.month = n[1].value, f.day = n[2].value; break;
    }
  } else if (n.size() == 2) {
    if (looksLikeYear(n[0]) || looksLikeYear(n[1])) {  // a month of a year
      bool yearFirst = looksLikeYear(n[0]);
      setYear(n[yearFirst ? 0 : 1]);
      f.month = n[yearFirst ? 1 : 0].value;
    } else if (loc.dateOrder == DateOrder::DMY) {
      f.day = n[0].value, f.month = n[1].value;
    } else {
      f.month = n[0].value, f.day = n[1].value;
    }
  } else if (n.size() == 1) {
    return false;  // a lone number is a number
  }
  // Day and month the other way round when only that order makes a date.
  if (f.month > 12 && f.day >= 1 && f.day <= 12) std::swap(f.month, f.day);
  return true;
}

bool dateSerial(Fields& f, double& serial) {
  if (f.year < 0 && f.month < 0 && f.day < 0) return false;
  if (f.month < 0) return false;
  if (f.day < 0) f.day = 1;
  if (f.year < 0) {
    f.year = datetime::currentYear();
  } else if (f.yearDigits <= 2) {
    f.year += f.year < 30 ? 2000 : 1900;  // the usual two-digit window
  }
  if (f.year < 100 || f.year > 9999 || f.month < 1 || f.month > 12 || f.day < 1 ||
      f.day > datetime::daysInMonth(f.year, f.month))
    return false;
  return serialFromDate(f.year, f.month, f.day, serial);
}

bool timeFraction(Fields& f, double& fraction) {
  if (f.hour < 0) return false;  // minutes or 上午 without an hour
  if (f.minute < 0) f.minute = 0;
  if (f.second < 0) f.second = 0;
  if (f.ampm) {
    if (f.hour > 12) return false;
    if (f.ampm == 2 && f.hour < 12) f.hour += 12;
    else if (f.ampm == 1 && f.hour == 12) f.hour = 0;
  }
  if (f.hour > 23 || f.minute > 59 || f.second > 59) return false;
  fraction = serialFromTime(f.hour, f.minute, f.second);
  return true;
}

}  // namespace

bool parseDate(std::u16string_view s, Date& out, const LocaleProfile& loc) {
  std::vector<Token> tokens;
  Fields f;
  if (!tokenize(s, loc, tokens) || !collect(tokens, f) || !placeDate(f, loc)) return false;
  bool hasDate = f.year >= 0 || f.month >= 0 || f.day >= 0;
  bool hasTime = f.hour >= 0 || f.minute >= 0 || f.second >= 0 || f.ampm;
  double date = 0, time = 0;
  if (!hasDate && !hasTime) return false;
  if (hasDate && !dateSerial(f, date)) return false;
  if (hasTime && !timeFraction(f, time)) return false;
  out = Date{combineDateTime(date, time)};
  return true;
}

}  // namespace rt
