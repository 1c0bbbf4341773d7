#include "builtins/textfun.h"

#include <algorithm>

#include "rt/convert.h"
#include "rt/error.h"

namespace engine {

TextArgs::TextArgs(zorbel::ScriptValue* sv) : list_(sv) {
  if (!sv) return;
  if (sv->flag() & zorbel::FlagList) {
    int32_t n = std::clamp(sv->count(), 0, kSlots);
    for (int32_t i = 1; i <= n; ++i) {
      slots_[i - 1] = rt::toText(argValue(*sv, i));
      count_ = i;
    }
  } else {
    slots_[0] = rt::toText(sv->value());
    count_ = 1;
  }
}

const std::u16string& TextArgs::text(int32_t i) const {
  static const std::u16string none;
  return i >= 1 && i <= count_ ? slots_[i - 1] : none;
}

int32_t TextArgs::toInt(int32_t i) const { return rt::toLong(rt::Variant(text(i))); }
int16_t TextArgs::toShort(int32_t i) const { return rt::toInteger(rt::Variant(text(i))); }
double TextArgs::toReal(int32_t i) const { return rt::toDouble(rt::Variant(text(i))); }
bool TextArgs::toBool(int32_t i) const { return rt::toBool(rt::Variant(text(i))); }
rt::Date TextArgs::toDate(int32_t i) const { return rt::toDate(rt::Variant(text(i))); }

rt::Variant badCountValue(OnBadCount v) {
  switch (v) {
    case OnBadCount::Zero: return rt::Variant(int16_t{0});
    case OnBadCount::False: return rt::Variant(false);
    case OnBadCount::Empty: break;
  }
  return rt::Variant();
}

}  // namespace engine
