// The decimal form of numbers that the format engine places into
// placeholders, and its rounding.
#include <cmath>
#include <string>

#include "decimal.h"
#include "formatparts.h"
#include "numtext.h"
#include "rt/error.h"

namespace rt::fmt {
namespace {

void trimZeros(DecNum& n) {
  size_t lead = n.digits.find_first_not_of('0');
  if (lead == std::string::npos) {
    n.digits.clear();
    n.point = 0;
    return;
  }
  n.digits.erase(0, lead);
  n.point -= static_cast<int>(lead);
  n.digits.erase(n.digits.find_last_not_of('0') + 1);
}

// Plain decimal text: "-12.50".
DecNum fromPlain(std::u16string_view s) {
  DecNum n;
  n.negative = !s.empty() && s.front() == u'-';
  bool seenPoint = false;
  for (char16_t c : s) {
    if (c >= u'0' && c <= u'9') {
      n.digits.push_back(static_cast<char>(c));
      if (!seenPoint) ++n.point;
    } else if (c != u'-') {
      seenPoint = true;
    }
  }
  trimZeros(n);
  if (n.isZero()) n.negative = false;
  return n;
}

DecNum fromInteger(int64_t v) {
  std::string s = std::to_string(v);
  return fromPlain(std::u16string(s.begin(), s.end()));
}

DecNum fromBinary(double v, int significant) {
  if (!std::isfinite(v)) raise(err::Overflow);
  numtext::Digits d = numtext::digitsOf(v, significant);
  DecNum n;
  if (d.digits == "0") return n;
  n.digits = d.digits;
  n.point = d.exponent + 1;
  n.negative = d.negative;
  return n;
}

}  // namespace

DecNum decNumOf(const Variant& v) {
  switch (v.type()) {
    case VT::Empty: return DecNum{};
    case VT::Integer: return fromInteger(v.integer());
    case VT::Long: return fromInteger(v.longValue());
    case VT::Byte: return fromInteger(v.byte());
    case VT::Boolean: return fromInteger(v.boolean() ? -1 : 0);
    case VT::Single: return fromBinary(v.single(), 7);
    case VT::Double: return fromBinary(v.dbl(), 15);
    case VT::Date: return fromBinary(v.date().serial, 15);
    case VT::Currency: return fromPlain(dec::toText(dec::fromCurrency(v.currency())));
    case VT::Decimal: return fromPlain(dec::toText(v.decimal()));
    default: raise(err::TypeMismatch);
  }
}

void roundTo(DecNum& n, int decimals) {
  if (n.isZero()) return;
  int64_t keep = int64_t{n.point} + decimals;
  if (keep >= static_cast<int64_t>(n.digits.size())) return;
  if (keep < 0) {  // below half a unit of the last place
    n.digits.clear();
    n.point = 0;
    return;
  }
  bool up = n.digits[keep] >= '5';
  n.digits.resize(keep);
  if (up) {
    while (!n.digits.empty() && n.digits.back() == '9') n.digits.pop_back();
    if (n.digits.empty()) {  // 0.999 x 10^p became 0.1 x 10^(p+1)
      n.digits.assign(1, '1');
      ++n.point;
    } else {
      ++n.digits.back();
    }
  }
  trimZeros(n);
}

std::string wholeDigits(const DecNum& n) {
  if (n.point <= 0) return {};
  size_t p = static_cast<size_t>(n.point);
  std::string out = n.digits.substr(0, p);
  out.append(p - out.size(), '0');
  return out;
}

std::string fractionDigits(const DecNum& n, int count) {
  std::string out;
  out.reserve(count);
  for (int64_t j = 0; j < count; ++j) {
    int64_t at = int64_t{n.point} + j;
    bool inside = at >= 0 && at < static_cast<int64_t>(n.digits.size());
    out.push_back(inside ? n.digits[at] : '0');
  }
  return out;
}

std::u16string grouped(const std::string& digits, bool group, const LocaleProfile& loc) {
  std::u16string out;
  size_t n = digits.size();
  size_t size = loc.groupSize > 0 ? static_cast<size_t>(loc.groupSize) : n + 1;
  for (size_t i = 0; i < n; ++i) {
    out.push_back(static_cast<char16_t>(digits[i]));
    size_t rest = n - 1 - i;
    if (group && rest > 0 && rest % size == 0) out.push_back(loc.groupSep);
  }
  return out;
}

}  // namespace rt::fmt
