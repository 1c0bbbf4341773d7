// Format: named formats, the choice of a section by the value, and what a
// value is to a format (a number, a date, text, or Null).
#include "rt/format.h"

#include <algorithm>

#include "formatparts.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"

namespace rt {
namespace fmt {

bool readNumberOrDate(std::u16string_view text, Variant& out, const LocaleProfile& loc) {
  bool overflow = false;
  if (parseNumber(text, out, overflow, loc)) return true;
  Date d;
  if (overflow || !parseDate(text, d, loc)) return false;
  out = Variant(d);
  return true;
}

DecNum numberOf(const Variant& value, const LocaleProfile& loc) {
  Variant v = valueOf(value);
  if (v.isNull()) raise(err::InvalidUseOfNull);
  if (!v.isText()) return decNumOf(v);
  Variant read;
  if (!readNumberOrDate(v.text(), read, loc)) raise(err::TypeMismatch);
  return decNumOf(read);
}

}  // namespace fmt

namespace {

// The plain text of a value in `loc`, as CStr writes it.
std::u16string plainText(const Variant& v, const LocaleProfile& loc) {
  switch (v.type()) {
    case VT::Single: return formatSingle(v.single(), loc);
    case VT::Double: return formatDouble(v.dbl(), loc);
    case VT::Date: return formatDate(v.date(), loc);
    case VT::Currency: return formatCurrency(v.currency(), loc);
    case VT::Decimal: return formatDecimal(v.decimal(), loc);
    default: return toText(v);
  }
}

// What a value is to a format.  Text that reads as a number or a date (or
// is True or False) is one, and keeps its text for text sections.
struct Subject {
  enum class Kind { Null, Number, Text } kind = Kind::Text;
  Variant number;  // a number, a Boolean or a date
  std::u16string text;
};

Subject subjectOf(const Variant& value, const LocaleProfile& loc) {
  Variant v = valueOf(value);
  Subject s;
  if (v.isNull()) {
    s.kind = Subject::Kind::Null;
  } else if (v.isText()) {
    s.text = v.text();
    const std::u16string& t = s.text;
    Variant read;
    if (fmt::readNumberOrDate(t, read, loc)) s.number = read;
    else if (equalsNoCase(t, u"True") || equalsNoCase(t, loc.trueName)) s.number = Variant(true);
    else if (equalsNoCase(t, u"False") || equalsNoCase(t, loc.falseName)) s.number = Variant(false);
    if (!s.number.isEmpty()) s.kind = Subject::Kind::Number;
  } else if (v.isEmpty() || v.type() == VT::ByteArray) {
    s.text = toText(v);
  } else {
    s.kind = Subject::Kind::Number;
    s.number = v;
    s.text = plainText(v, loc);
  }
  return s;
}

// The named formats.  All but two are custom formats under a name.
enum class Special { None, GeneralNumber, Currency };
struct NamedFormat {
  std::u16string_view name;
  Special special;
  std::u16string_view format;
};
constexpr NamedFormat kNamed[] = {
    {u"General Number", Special::GeneralNumber, {}},
    {u"Currency", Special::Currency, {}},
    {u"Fixed", Special::None, u"0.00"},
    {u"Standard", Special::None, u"#,##0.00"},
    {u"Percent", Special::None, u"0.00%"},
    {u"Scientific", Special::None, u"0.00E+00"},
    {u"Yes/No", Special::None, u"\\Y\\e\\s;\\Y\\e\\s;\\N\\o"},
    {u"True/False", Special::None, u"\\T\\r\\u\\e;\\T\\r\\u\\e;\\F\\a\\l\\s\\e"},
    {u"On/Off", Special::None, u"\\O\\n;\\O\\n;\\O\\f\\f"},
    {u"General Date", Special::None, u"c"},
    {u"Long Date", Special::None, u"dddddd"},
    {u"Medium Date", Special::None, u"dd-mmm-yy"},
    {u"Short Date", Special::None, u"ddddd"},
    {u"Long Time", Special::None, u"ttttt"},
    {u"Medium Time", Special::None, u"hh:nn AMPM"},
    {u"Short Time", Special::None, u"hh:nn"},
};

std::u16string special(const Subject& s, Special which, const LocaleProfile& loc) {
  if (s.kind == Subject::Kind::Null) return {};
  if (s.kind == Subject::Kind::Text) return s.text;
  if (which == Special::Currency) return formatNumber(s.number, NumberStyle::Currency, {}, loc);
  VT t = s.number.type();
  if (t == VT::Date || t == VT::Boolean) return formatDouble(toDouble(s.number), loc);
  return plainText(s.number, loc);
}

std::u16string custom(const Subject& s, std::u16string_view format, int firstDay, int firstWeek,
                      const LocaleProfile& loc) {
  std::vector<fmt::Section> sections = fmt::splitSections(format);
  size_t count = std::min<size_t>(sections.size(), 4);
  bool textFormat = fmt::kindOf(sections[0]) == fmt::Kind::Text;
  switch (s.kind) {
    case Subject::Kind::Null:
      if (count == 4) return fmt::formatTextSection(u"", sections[3]);
      if (count >= 2 && textFormat) return fmt::formatTextSection(u"", sections[1]);
      return {};
    case Subject::Kind::Text: {
      // A second text section serves the empty text.
      const fmt::Section& sec = sections[s.text.empty() && count >= 2 && textFormat ? 1 : 0];
      fmt::Kind k = fmt::kindOf(sec);
      if (k == fmt::Kind::Text || k == fmt::Kind::Literal) return fmt::formatTextSection(s.text, sec);
      return s.text;
    }
    case Subject::Kind::Number: break;
  }
  fmt::DecNum n = fmt::decNumOf(s.number);
  // Negative and zero values take their own sections when those are there
  // and not empty; the sign then belongs to the section.
  size_t at = 0;
  if (n.negative && count >= 2 && !sections[1].empty()) at = 1;
  else if (n.isZero() && count >= 3 && !sections[2].empty()) at = 2;
  const fmt::Section& sec = sections[at];
  switch (fmt::kindOf(sec)) {
    case fmt::Kind::Date:
      return fmt::formatDateSection(toDouble(s.number), sec, firstDay, firstWeek, loc);
    case fmt::Kind::Text: return fmt::formatTextSection(s.text, sec);
    default: return fmt::formatNumberSection(n, sec, at == 0, loc);
  }
}

}  // namespace

std::u16string formatValue(const Variant& value, std::u16string_view format, int firstDayOfWeek,
                           int firstWeekOfYear, const LocaleProfile& loc) {
  fmt::checkWeekRules(firstDayOfWeek, firstWeekOfYear);
  if (format.empty()) {
    Variant v = valueOf(value);
    return v.isNull() ? std::u16string() : plainText(v, loc);
  }
  for (const NamedFormat& named : kNamed) {
    if (!equalsNoCase(format, named.name)) continue;
    Subject s = subjectOf(value, loc);
    if (named.special != Special::None) return special(s, named.special, loc);
    return custom(s, named.format, firstDayOfWeek, firstWeekOfYear, loc);
  }
  return custom(subjectOf(value, loc), format, firstDayOfWeek, firstWeekOfYear, loc);
}

}  // namespace rt
