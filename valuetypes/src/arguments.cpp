#include "arguments.h"

#include <limits>

#include "rt/error.h"

namespace fennick {

rt::Variant listItem(zorbel::ScriptValue& list, int32_t i) {
  // Lists are indexed with Integer positions as far as those reach.
  rt::Variant index = i <= std::numeric_limits<int16_t>::max()
                          ? rt::Variant(static_cast<int16_t>(i))
                          : rt::Variant(i);
  rt::Ref<zorbel::ScriptValue> item = list.subs(index, zorbel::ModeValue);
  if (!item) rt::raise(rt::err::ArgumentNotOptional);
  return item->value();
}

std::vector<rt::Variant> argumentsOf(zorbel::ScriptValue* sv, std::u16string_view callName) {
  std::vector<rt::Variant> args;
  if (!sv) return args;
  if (!(sv->flag() & zorbel::FlagList)) {
    args.push_back(sv->value());
    return args;
  }
  int32_t n = sv->count();
  if (n < 0) rt::raise(rt::err::WrongArgumentCount, callName);
  for (int32_t i = 1; i <= n; ++i) args.push_back(listItem(*sv, i));
  return args;
}

rt::Ref<zorbel::ScriptValue> scriptValueIn(const rt::Variant& v) {
  if (!v.isObject()) rt::raise(rt::err::ObjectRequired);
  if (v.isNothing()) return nullptr;
  rt::Ref<zorbel::ScriptValue> sv = rt::queryRef<zorbel::ScriptValue>(v.object());
  if (!sv) rt::raise(rt::err::TypeMismatch);
  return sv;
}

}  // namespace fennick
