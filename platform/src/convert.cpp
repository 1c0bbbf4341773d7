// Conversions between the value types, by the automation change-type rules.
#include "rt/convert.h"

#include <cmath>
#include <limits>

#include "datetime.h"
#include "decimal.h"
#include "numparse.h"
#include "rt/dispatch.h"
#include "rt/error.h"
#include "rt/text.h"

namespace rt {
namespace {

[[noreturn]] void mismatch() { raise(err::TypeMismatch); }
[[noreturn]] void overflow() { raise(err::Overflow); }

numparse::NumberText readNumber(const std::u16string& s) {
  numparse::NumberText n;
  if (!numparse::scan(s, currentLocale(), n)) mismatch();
  return n;
}

// "&H" and "&O" text for a target that is not an integer type: the digits
// as a positive Long.
double radixAsNumber(const numparse::NumberText& n) {
  if (n.radixOverflow || n.radixValue > 0x7FFFFFFF) overflow();
  return static_cast<double>(n.radixValue);
}

double textAsDouble(const std::u16string& s) {
  numparse::NumberText n = readNumber(s);
  if (n.radix) return radixAsNumber(n);
  double d;
  if (!numparse::toDouble(n, d)) overflow();
  return d;
}

// Decimal text read exactly, for the scaled types.  The runtime has no
// Currency or Decimal reading of "&H" digits: it reports an overflow.
Decimal textAsDecimal(const std::u16string& s) {
  numparse::NumberText n = readNumber(s);
  if (n.radix) overflow();
  Decimal d;
  if (!dec::fromText(n.plain, d)) mismatch();
  return d;
}

int64_t currencyToInteger(Currency c) {
  int64_t q = c.raw / Currency::kScale, r = c.raw % Currency::kScale;
  int64_t half = Currency::kScale / 2, mag = r < 0 ? -r : r;
  if (mag > half || (mag == half && (q & 1))) q += r < 0 ? -1 : 1;
  return q;
}

// The value for an integer type of range lo..hi; `radixBits` is the width in
// which "&H" digits are read (their top bit is the sign unless lo is 0).
int64_t integral(const Variant& v, int64_t lo, int64_t hi, int radixBits) {
  int64_t r = 0;
  auto fromDouble = [&](double d) {
    if (!std::isfinite(d)) overflow();
    double x = roundHalfEven(d);
    if (x < static_cast<double>(lo) || x > static_cast<double>(hi)) overflow();
    return static_cast<int64_t>(x);
  };
  switch (v.type()) {
    case VT::Empty: return 0;
    case VT::Null: raise(err::InvalidUseOfNull);
    case VT::Integer: r = v.integer(); break;
    case VT::Long: r = v.longValue(); break;
    case VT::Byte: r = v.byte(); break;
    // True is all bits set: -1, or 255 as a Byte.
    case VT::Boolean: r = v.boolean() ? (lo == 0 ? hi : -1) : 0; break;
    case VT::Single: return fromDouble(v.single());
    case VT::Double: return fromDouble(v.dbl());
    case VT::Date: return fromDouble(v.date().serial);
    case VT::Currency: r = currencyToInteger(v.currency()); break;
    case VT::Decimal: r = dec::toInt64(v.decimal()); break;
    case VT::String: {
      numparse::NumberText n = readNumber(v.text());
      if (!n.radix) {
        double d;
        if (!numparse::toDouble(n, d)) overflow();
        return fromDouble(d);
      }
      if (n.radixOverflow || n.radixValue >> radixBits) overflow();
      r = static_cast<int64_t>(n.radixValue);
      if (lo < 0 && (r >> (radixBits - 1))) r -= int64_t{1} << radixBits;
      break;
    }
    case VT::Object: return integral(valueOf(v), lo, hi, radixBits);
    default: mismatch();
  }
  if (r < lo || r > hi) overflow();
  return r;
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x3000; }

std::u16string_view trimmed(std::u16string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

Date checkedDate(double serial) {
  if (!datetime::inRange(serial)) overflow();
  return Date{serial};
}

std::u16string integerText(int64_t v) {
  std::string s = std::to_string(v);
  return std::u16string(s.begin(), s.end());
}

// A byte array holds the text's UTF-16 code units, low byte first.
ByteArray bytesOfText(std::u16string_view s) {
  ByteArray a;
  a.bytes.reserve(s.size() * 2);
  for (char16_t c : s) {
    a.bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    a.bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return a;
}

std::u16string textOfBytes(const ByteArray& a) {
  std::u16string s;
  const std::vector<uint8_t>& b = a.bytes;
  for (size_t i = 0; i < b.size(); i += 2)
    s.push_back(static_cast<char16_t>(b[i] | (i + 1 < b.size() ? b[i + 1] << 8 : 0)));
  return s;
}

}  // namespace

double roundHalfEven(double d) {
  if (!std::isfinite(d)) return d;
  double f = std::floor(d);
  double diff = d - f;
  if (diff > 0.5) return f + 1;
  if (diff < 0.5) return f;
  return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

int16_t toInteger(const Variant& v) { return static_cast<int16_t>(integral(v, -32768, 32767, 16)); }

int32_t toLong(const Variant& v) {
  return static_cast<int32_t>(integral(v, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max(), 32));
}

uint8_t toByte(const Variant& v) { return static_cast<uint8_t>(integral(v, 0, 255, 8)); }

double toDouble(const Variant& v) {
  switch (v.type()) {
    case VT::Empty: return 0;
    case VT::Null: raise(err::InvalidUseOfNull);
    case VT::Integer: return v.integer();
    case VT::Long: return v.longValue();
    case VT::Byte: return v.byte();
    case VT::Boolean: return v.boolean() ? -1 : 0;
    case VT::Single: return v.single();
    case VT::Double: return v.dbl();
    case VT::Date: return v.date().serial;
    case VT::Currency: return static_cast<double>(v.currency().raw) / Currency::kScale;
    case VT::Decimal: return dec::toDouble(v.decimal());
    case VT::String: return textAsDouble(v.text());
    case VT::Object: return toDouble(valueOf(v));
    default: mismatch();
  }
}

float toSingle(const Variant& v) {
  if (v.type() == VT::Single) return v.single();
  double d = toDouble(v);
  float f = static_cast<float>(d);
  if (std::isinf(f) && std::isfinite(d)) overflow();
  return f;
}

Currency toCurrency(const Variant& v) {
  auto fromDouble = [](double d) {
    double x = roundHalfEven(d * Currency::kScale);
    // 2^63, exactly representable: the first value past the range.
    constexpr double kLimit = 9223372036854775808.0;
    if (!std::isfinite(x) || x >= kLimit || x < -kLimit) overflow();
    return Currency{static_cast<int64_t>(x)};
  };
  switch (v.type()) {
    case VT::Empty: return Currency{};
    case VT::Null: raise(err::InvalidUseOfNull);
    case VT::Integer: return Currency{int64_t{v.integer()} * Currency::kScale};
    case VT::Long: return Currency{int64_t{v.longValue()} * Currency::kScale};
    case VT::Byte: return Currency{int64_t{v.byte()} * Currency::kScale};
    case VT::Boolean: return Currency{v.boolean() ? -Currency::kScale : 0};
    case VT::Single: return fromDouble(v.single());
    case VT::Double: return fromDouble(v.dbl());
    case VT::Date: return fromDouble(v.date().serial);
    case VT::Currency: return v.currency();
    case VT::Decimal: return dec::toCurrency(v.decimal());
    case VT::String: return dec::toCurrency(textAsDecimal(v.text()));
    case VT::Object: return toCurrency(valueOf(v));
    default: mismatch();
  }
}

Decimal toDecimal(const Variant& v) {
  switch (v.type()) {
    case VT::Empty: return Decimal{};
    case VT::Null: raise(err::InvalidUseOfNull);
    case VT::Integer: return dec::fromInt64(v.integer());
    case VT::Long: return dec::fromInt64(v.longValue());
    case VT::Byte: return dec::fromInt64(v.byte());
    case VT::Boolean: return dec::fromInt64(v.boolean() ? -1 : 0);
    case VT::Single: {
      // Seven digits, as the Single shows itself: 0.1 stays 0.1.
      if (!std::isfinite(v.single())) overflow();
      Decimal d;
      dec::fromText(formatSingle(v.single(), profileOf(LocaleId::EnglishUS)), d);
      return d;
    }
    case VT::Double: return dec::fromDouble(v.dbl());
    case VT::Date: return dec::fromDouble(v.date().serial);
    case VT::Currency: return dec::fromCurrency(v.currency());
    case VT::Decimal: return v.decimal();
    case VT::String: return textAsDecimal(v.text());
    case VT::Object: return toDecimal(valueOf(v));
    default: mismatch();
  }
}

Date toDate(const Variant& v) {
  switch (v.type()) {
    case VT::Date: return v.date();
    case VT::String: {
      Date d;
      if (parseDate(v.text(), d, currentLocale())) return d;
      return checkedDate(textAsDouble(v.text()));
    }
    case VT::Object: return toDate(valueOf(v));
    default: return checkedDate(toDouble(v));
  }
}

bool toBool(const Variant& v) {
  switch (v.type()) {
    case VT::Empty: return false;
    case VT::Null: raise(err::InvalidUseOfNull);
    case VT::Boolean: return v.boolean();
    case VT::Currency: return v.currency().raw != 0;
    case VT::Decimal: return !dec::isZero(v.decimal());
    case VT::String: {
      const LocaleProfile& loc = currentLocale();
      std::u16string_view s = trimmed(v.text());
      if (equalsNoCase(s, u"True") || equalsNoCase(s, loc.trueName)) return true;
      if (equalsNoCase(s, u"False") || equalsNoCase(s, loc.falseName)) return false;
      return textAsDouble(v.text()) != 0;
    }
    case VT::Object: return toBool(valueOf(v));
    default: return toDouble(v) != 0;
  }
}

std::u16string toText(const Variant& v) {
  switch (v.type()) {
    case VT::Empty: return {};
    case VT::Null: raise(err::InvalidUseOfNull);
    case VT::Integer: return integerText(v.integer());
    case VT::Long: return integerText(v.longValue());
    case VT::Byte: return integerText(v.byte());
    case VT::Boolean: return v.boolean() ? u"True" : u"False";
    case VT::Single: return formatSingle(v.single());
    case VT::Double: return formatDouble(v.dbl());
    case VT::Date: return formatDate(v.date());
    case VT::Currency: return formatCurrency(v.currency());
    case VT::Decimal: return formatDecimal(v.decimal());
    case VT::String: return v.text();
    case VT::ByteArray: return textOfBytes(v.bytes());
    case VT::Object: return toText(valueOf(v));
  }
  mismatch();
}

Variant changeType(const Variant& v, VT to) {
  if (to == VT::Object) {
    if (!v.isObject()) mismatch();
    return v;
  }
  if (v.isObject()) return changeType(valueOf(v), to);
  if (to == VT::Empty) return Variant();
  if (to == VT::Null) {
    if (!v.isNull()) mismatch();
    return v;
  }
  if (v.isNull()) raise(err::InvalidUseOfNull);
  switch (to) {
    case VT::Integer: return Variant(toInteger(v));
    case VT::Long: return Variant(toLong(v));
    case VT::Single: return Variant(toSingle(v));
    case VT::Double: return Variant(toDouble(v));
    case VT::Currency: return Variant(toCurrency(v));
    case VT::Date: return Variant(toDate(v));
    case VT::String: return Variant(toText(v));
    case VT::Boolean: return Variant(toBool(v));
    case VT::Decimal: return Variant(toDecimal(v));
    case VT::Byte: return Variant(toByte(v));
    case VT::ByteArray:
      if (v.type() == VT::ByteArray) return v;
      if (v.isText()) return Variant(bytesOfText(v.text()));
      if (v.isEmpty()) return Variant(ByteArray{});
      mismatch();
    default: mismatch();
  }
}

Variant valueOf(const Variant& v) {
  Variant cur = v;
  // A default member may hand out another object with a default member; a
  // chain that never ends in a plain value is a mismatch, not a hang.
  for (int depth = 0; cur.isObject(); ++depth) {
    if (cur.isNothing()) raise(err::ObjectNotSet);
    if (depth == 32 || !queryRef<Dispatch>(cur.object())) mismatch();
    try {
      cur = callDefault(cur.object(), PropGet);
    } catch (const RuntimeError& e) {
      // No default member: the object has no value to convert.
      if (e.number() == err::NotSupported) mismatch();
      throw;
    }
  }
  return cur;
}

}  // namespace rt
