// FormatNumber, FormatCurrency and FormatPercent: the locale's layouts of
// numbers, with switches for digits, the leading zero, parentheses and
// grouping.
#include <string>

#include "formatparts.h"
#include "rt/error.h"
#include "rt/format.h"

namespace rt {
namespace {

// The platform's layouts: 'S' the currency symbol, 'N' the number.
constexpr std::u16string_view kCurrencyPositive[] = {u"SN", u"NS", u"S N", u"N S"};
constexpr std::u16string_view kCurrencyNegative[] = {
    u"(SN)", u"-SN",  u"S-N",  u"SN-",  u"(NS)",  u"-NS",   u"N-S",   u"NS-",
    u"-N S", u"-S N", u"N S-", u"S N-", u"S -N",  u"N- S",  u"(S N)", u"(N S)"};
constexpr std::u16string_view kNumberNegative[] = {u"(N)", u"-N", u"- N", u"N-", u"N -"};

constexpr int kMaxDigits = 99;

template <size_t N>
std::u16string_view layout(const std::u16string_view (&table)[N], int index) {
  return table[index >= 0 && static_cast<size_t>(index) < N ? index : 0];
}

std::u16string place(std::u16string_view picture, std::u16string_view number,
                    std::u16string_view symbol) {
  std::u16string out;
  for (char16_t c : picture) {
    if (c == u'N') out += number;
    else if (c == u'S') out += symbol;
    else out.push_back(c);
  }
  return out;
}

bool switchOn(int value, bool localeDefault) { return value == kUseDefault ? localeDefault : value != 0; }

bool hasParentheses(std::u16string_view picture) { return picture.front() == u'('; }

std::u16string negativeNumber(std::u16string_view body, int parentheses, const LocaleProfile& loc) {
  std::u16string_view picture = layout(kNumberNegative, loc.negativeNumber);
  if (parentheses != kUseDefault) {
    bool on = parentheses != 0;
    if (on != hasParentheses(picture)) picture = on ? kNumberNegative[0] : kNumberNegative[1];
  }
  return place(picture, body, {});
}

std::u16string currency(std::u16string_view body, bool negative, int parentheses,
                        const LocaleProfile& loc) {
  std::u16string positive = place(layout(kCurrencyPositive, loc.currencyPositive), body,
                                 loc.currencySymbol);
  if (!negative) return positive;
  std::u16string_view picture = layout(kCurrencyNegative, loc.currencyNegative);
  bool on = parentheses == kUseDefault ? hasParentheses(picture) : parentheses != 0;
  if (on == hasParentheses(picture)) return place(picture, body, loc.currencySymbol);
  // The switch overrides the locale: the positive layout in parentheses, or
  // with a minus sign in front.
  return on ? u"(" + positive + u")" : u"-" + positive;
}

}  // namespace

std::u16string formatNumber(const Variant& value, NumberStyle style, const NumberOptions& o,
                            const LocaleProfile& loc) {
  int digits = o.digits;
  if (digits == -1) digits = style == NumberStyle::Currency ? loc.currencyDigits : loc.numberDigits;
  if (digits < 0 || digits > kMaxDigits) raise(err::InvalidCall);
  fmt::DecNum n = fmt::numberOf(value, loc);
  // Percent scales by moving the point; a zero has no digits to move.
  if (style == NumberStyle::Percent && !n.isZero()) n.point += 2;
  fmt::roundTo(n, digits);
  bool negative = n.negative && !n.isZero();

  std::string whole = fmt::wholeDigits(n);
  if (whole.empty() && (digits == 0 || switchOn(o.leadingZero, loc.leadingZero))) whole.assign(1, '0');
  std::u16string body = fmt::grouped(whole, switchOn(o.grouping, true), loc);
  if (digits > 0) {
    body.push_back(loc.decimalSep);
    std::string f = fmt::fractionDigits(n, digits);
    body.append(f.begin(), f.end());
  }
  if (style == NumberStyle::Percent) body.push_back(u'%');

  if (style == NumberStyle::Currency) return currency(body, negative, o.parentheses, loc);
  return negative ? negativeNumber(body, o.parentheses, loc) : body;
}

}  // namespace rt
