#include "builtins/textfun.h"

#include <algorithm>

#include "builtins/svgeneral.h"
#include "rt/convert.h"
#include "rt/error.h"

namespace engine {

namespace {

// An argument as a slot keeps it: its text form as a String value, but an
// Integer or Long as it is (its text is made when asked for).
rt::Variant asSlot(rt::Variant v) {
  if (v.isText() || v.type() == rt::VT::Integer || v.type() == rt::VT::Long) return v;
  return rt::Variant(rt::toText(v));
}

}  // namespace

// Arguments are taken in order, each once.
void TextArgs::take(int32_t i, rt::Variant v) {
  if (v.isText()) wasText_ |= 1u << (i - 1);
  new (reinterpret_cast<rt::Variant*>(slots_) + (i - 1)) rt::Variant(asSlot(std::move(v)));
  count_ = i;
}

TextArgs::~TextArgs() {
  for (int32_t i = 1; i <= count_; ++i) at(i).~Variant();
}

TextArgs::TextArgs(std::span<const rt::Variant> values) : TextArgs() {
  const int32_t n = static_cast<int32_t>(std::min<size_t>(values.size(), kSlots));
  for (int32_t i = 1; i <= n; ++i) take(i, values[i - 1]);
}

TextArgs::TextArgs(zorbel::ScriptValue* sv) : TextArgs() {
  list_ = sv;
  if (!sv) return;
  if (sv->flag() & zorbel::FlagList) {
    int32_t n = std::clamp(sv->count(), 0, kSlots);
    // The evaluator's argument lists are engine values: read in place (an
    // item that reading an earlier one took away is made again by argValue).
    if (SvGeneral* list = directOf(sv).variable) {
      for (int32_t i = 1; i <= n; ++i) {
        rt::Ref<zorbel::ScriptValue> item = i <= list->count() ? list->listed(i) : nullptr;
        take(i, item ? item->value() : argValue(*sv, i));
      }
      return;
    }
    for (int32_t i = 1; i <= n; ++i) take(i, argValue(*sv, i));
  } else {
    take(1, sv->value());
  }
}

const rt::Variant& TextArgs::gathered(int32_t i) const {
  static const rt::Variant none{std::u16string()};
  return i >= 1 && i <= count_ ? at(i) : none;
}

const rt::Variant& TextArgs::slot(int32_t i) const {
  const rt::Variant& v = gathered(i);
  if (v.isText()) return v;
  rt::Variant& own = at(i);
  own = rt::Variant(rt::toText(own));
  return own;
}

const std::u16string& TextArgs::text(int32_t i) const { return slot(i).text(); }

// A whole number converts as its text would.
int32_t TextArgs::toInt(int32_t i) const { return rt::toLong(gathered(i)); }
int16_t TextArgs::toShort(int32_t i) const { return rt::toInteger(gathered(i)); }
double TextArgs::toReal(int32_t i) const { return rt::toDouble(gathered(i)); }
bool TextArgs::toBool(int32_t i) const { return rt::toBool(slot(i)); }
rt::Date TextArgs::toDate(int32_t i) const { return rt::toDate(slot(i)); }

rt::Variant badCountValue(OnBadCount v) {
  switch (v) {
    case OnBadCount::Zero: return rt::Variant(int16_t{0});
    case OnBadCount::False: return rt::Variant(false);
    case OnBadCount::Empty: break;
  }
  return rt::Variant();
}

}  // namespace engine
