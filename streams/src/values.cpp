#include "values.h"

#include <cmath>
#include <limits>
#include <string>

#include "rt/text.h"

namespace nubrel {

namespace {
// 1 January 100 and the day after 31 December 9999; a negative serial's
// fraction counts forward from midnight, so the first day reaches to -657435.
constexpr double kFirstSerial = -657435.0;
constexpr double kEndSerial = 2958466.0;
}  // namespace

rt::Date dateFromSerial(double serial) {
  if (!(serial > kFirstSerial && serial < kEndSerial)) rt::raise(rt::err::Overflow);
  return rt::Date{serial};
}

const rt::ByteArray& byteArrayOf(const rt::Variant& v) {
  if (v.type() != rt::VT::ByteArray) rt::raise(rt::err::TypeMismatch);
  return v.bytes();
}

int32_t upperBoundOf(const rt::ByteArray& a) {
  int64_t upper = static_cast<int64_t>(a.lbound) + static_cast<int64_t>(a.bytes.size()) - 1;
  if (upper > std::numeric_limits<int32_t>::max() || upper < std::numeric_limits<int32_t>::min())
    rt::raise(rt::err::Overflow);
  return static_cast<int32_t>(upper);
}

namespace {

rt::RuntimeError withDetail(int32_t number, std::u16string detail) {
  return rt::RuntimeError(number, rt::errorText(number) + u"：" + detail);
}

std::u16string numberText(int64_t n) { return rt::ascii(std::to_string(n)); }

}  // namespace

int32_t storedCount(size_t n) {
  if (n > static_cast<uint64_t>(kMaxValueCount)) {
    std::u16string detail = u"长度 " + numberText(static_cast<int64_t>(n)) +
                            u" 超过流中单个值的上限 " + numberText(kMaxValueCount);
    throw withDetail(rt::err::OutOfMemory, detail);
  }
  return static_cast<int32_t>(n);
}

std::optional<rt::RuntimeError> countFailure(int64_t count, uint64_t left) {
  std::u16string n = numberText(count);
  if (count < 0) return withDetail(rt::err::InvalidCall, u"流中的长度 " + n + u" 无效");
  if (count > kMaxValueCount)
    return withDetail(rt::err::OutOfMemory,
                      u"流中的长度 " + n + u" 超过单个值的上限 " + numberText(kMaxValueCount));
  if (static_cast<uint64_t>(count) > left)
    return withDetail(rt::err::PastEndOfFile, u"流中的长度 " + n + u" 超出剩余的数据");
  return std::nullopt;
}

}  // namespace nubrel
