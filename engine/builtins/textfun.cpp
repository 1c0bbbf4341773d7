#include "builtins/textfun.h"

#include <algorithm>

#include "rt/convert.h"
#include "rt/error.h"

namespace engine {

namespace {

// An argument's text form, as a String value.
rt::Variant asText(rt::Variant v) { return v.isText() ? std::move(v) : rt::Variant(rt::toText(v)); }

}  // namespace

TextArgs::TextArgs(zorbel::ScriptValue* sv) : list_(sv) {
  if (!sv) return;
  if (sv->flag() & zorbel::FlagList) {
    int32_t n = std::clamp(sv->count(), 0, kSlots);
    for (int32_t i = 1; i <= n; ++i) {
      slots_[i - 1] = asText(argValue(*sv, i));
      count_ = i;
    }
  } else {
    slots_[0] = asText(sv->value());
    count_ = 1;
  }
}

const rt::Variant& TextArgs::slot(int32_t i) const {
  static const rt::Variant none{std::u16string()};
  return i >= 1 && i <= count_ ? slots_[i - 1] : none;
}

const std::u16string& TextArgs::text(int32_t i) const { return slot(i).text(); }

int32_t TextArgs::toInt(int32_t i) const { return rt::toLong(slot(i)); }
int16_t TextArgs::toShort(int32_t i) const { return rt::toInteger(slot(i)); }
double TextArgs::toReal(int32_t i) const { return rt::toDouble(slot(i)); }
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
