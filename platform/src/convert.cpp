// Placeholder definitions until the value layer is built.
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/locale.h"

namespace rt {
namespace {
[[noreturn]] void todo() { raise(err::Internal, u"not built yet"); }
}  // namespace
int16_t toInteger(const Variant&) { todo(); }
int32_t toLong(const Variant& v) { if (v.type() == VT::Long) return v.longValue(); todo(); }
uint8_t toByte(const Variant&) { todo(); }
float toSingle(const Variant&) { todo(); }
double toDouble(const Variant&) { todo(); }
Currency toCurrency(const Variant&) { todo(); }
Decimal toDecimal(const Variant&) { todo(); }
Date toDate(const Variant&) { todo(); }
bool toBool(const Variant& v) { if (v.type() == VT::Boolean) return v.boolean(); todo(); }
std::u16string toText(const Variant& v) { if (v.type() == VT::String) return v.text(); if (v.isEmpty()) return {}; todo(); }
Variant changeType(const Variant&, VT) { todo(); }
Variant valueOf(const Variant& v) { return v; }
std::u16string formatDouble(double, const LocaleProfile&) { todo(); }
std::u16string formatSingle(float, const LocaleProfile&) { todo(); }
std::u16string formatCurrency(Currency, const LocaleProfile&) { todo(); }
std::u16string formatDecimal(const Decimal&, const LocaleProfile&) { todo(); }
std::u16string formatDate(Date, const LocaleProfile&) { todo(); }
bool parseNumber(std::u16string_view, Variant&, bool&, const LocaleProfile&) { todo(); }
bool parseDate(std::u16string_view, Date&, const LocaleProfile&) { todo(); }
bool serialFromDate(int, int, int, double&) { todo(); }
double serialFromTime(int, int, int) { todo(); }
double combineDateTime(double, double) { todo(); }
bool splitSerial(double, DateParts&) { todo(); }
double roundHalfEven(double) { todo(); }
const LocaleProfile& profileOf(LocaleId) { todo(); }
const LocaleProfile& currentLocale() { todo(); }
void setLocale(LocaleId) { todo(); }
LocaleId localeFromEnvironment() { return LocaleId::EnglishUS; }
}  // namespace rt
