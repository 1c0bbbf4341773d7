// The pieces of the format engine (rt/format.h): the decimal form numbers
// are formatted from, format sections, and the formatter of each kind of
// section.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rt/locale.h"
#include "rt/variant.h"

namespace rt::fmt {

// A number as decimal digits: 0.d1d2d3... x 10^point, so `point` digits
// stand before the decimal point.  Exact for integers, Currency and Decimal;
// a Double carries its 15 significant digits and a Single its 7, the digits
// the runtime shows, so Format(1.005, "0.00") rounds the 5 it shows.
struct DecNum {
  std::string digits;  // no leading or trailing zeros; empty for zero
  int point = 0;
  bool negative = false;
  bool isZero() const { return digits.empty(); }
};

// A number, a Boolean (-1 or 0), a date (its serial) or Empty (0); other
// types raise 13.
DecNum decNumOf(const Variant& v);
// Rounds to `decimals` places after the point, a half away from zero.  The
// sign stays, so a small negative number can round to "-0".
void roundTo(DecNum& n, int decimals);
// The digits before the point ("" below 1), and the first `count` after it.
std::string wholeDigits(const DecNum& n);
std::string fractionDigits(const DecNum& n, int count);
// The digits with a group separator every `groupSize` digits from the right.
std::u16string grouped(const std::string& digits, bool group, const LocaleProfile& loc);

// Text read as a number, else as a date (both in `loc`); false for neither.
bool readNumberOrDate(std::u16string_view text, Variant& out, const LocaleProfile& loc);
// The number a value stands for: numbers, Booleans, dates, Empty, and text
// that reads as a number or a date.  Others raise 13 (Null 94).
DecNum numberOf(const Variant& value, const LocaleProfile& loc);

// One character of a section: `quoted` when it came from "text" or a
// backslash escape and so stands for itself.
struct Piece {
  char16_t ch;
  bool quoted;
};
using Section = std::vector<Piece>;

// The sections of a format (split at ";" outside quotes and escapes).
std::vector<Section> splitSections(std::u16string_view format);

// What a section formats, told by its first placeholder: digits (0 # . %),
// date and time tokens, or text (@ &).  Literal: none of them.
enum class Kind { Literal, Number, Date, Text };
Kind kindOf(const Section& s);

// A number through a number section; `withMinus` puts "-" in front of a
// negative number (the section is the positive one).
std::u16string formatNumberSection(DecNum n, const Section& s, bool withMinus,
                                   const LocaleProfile& loc);
// Whether a date or time token starts at piece `at`.
bool isDateToken(const Section& s, size_t at);
// A date serial through a date section.
std::u16string formatDateSection(double serial, const Section& s, int firstDayOfWeek,
                                 int firstWeekOfYear, const LocaleProfile& loc);
// A text through a text section (a literal section puts the text after its
// literals).
std::u16string formatTextSection(std::u16string_view text, const Section& s);

// Raises 5 unless firstDayOfWeek is 0..7 and firstWeekOfYear 0..3.
void checkWeekRules(int firstDayOfWeek, int firstWeekOfYear);

}  // namespace rt::fmt
