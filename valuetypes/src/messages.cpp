#include "messages.h"

#include <limits>

#include "rt/error.h"
#include "rt/resources.h"

namespace fennick {

namespace {

// Sorted by id.
constexpr rt::StringResource kStrings[] = {
    {11004, u"非法调用，使用了对象不支持属性或方法。"},
    {11005, u"缺少必要的参数。"},
};

constexpr rt::Resources kResources(u"Fennick", kStrings);

constexpr int64_t kObjectErrorBase = static_cast<int32_t>(0x80040000);

bool fitsLong(int64_t n) {
  return n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max();
}

}  // namespace

std::u16string resText(int32_t code) {
  int64_t id = int64_t{code} + 10000;
  if (!fitsLong(id)) return rt::errorText(rt::err::Overflow);
  try {
    return std::u16string(kResources.string(static_cast<int32_t>(id)));
  } catch (const rt::RuntimeError& e) {
    return e.description();
  }
}

void setErrCode(jespin::IErrInfo& rec, int32_t code, std::u16string_view op) {
  int64_t number = kObjectErrorBase + code;
  if (!fitsLong(number)) rt::raise(rt::err::Overflow);
  rec.setNumber(static_cast<int32_t>(number));
  rec.setDescription(resText(code));
  rec.setSource(op);
}

}  // namespace fennick
