#include "record.h"

#include "messages.h"

namespace fennick {

void ErrorRecord::code(int32_t code, std::u16string_view op) { setErrCode(info(), code, op); }

void ErrorRecord::failure(const rt::RuntimeError& e, std::u16string_view op) {
  info().readError(e.number(), e.source(), e.description(), op);
}

void ErrorRecord::failure(int32_t number, std::u16string_view op) {
  info().readError(number, {}, rt::errorText(number), op);
}

bool ErrorRecord::copyFrom(jespin::IErrInfo& from, std::u16string_view op) {
  if (!from.haveErr()) return false;
  info().readSysErr(&from, op);
  return true;
}

}  // namespace fennick
