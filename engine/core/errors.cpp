#include "core/errors.h"

#include "core/libname.h"
#include "core/resources.h"

namespace engine {

std::u16string resText(int32_t code) {
  return std::u16string(engineResources().string(10000 + code));
}

std::u16string qualifiedSource(std::u16string_view where) {
  std::u16string s(libraryName());
  s += u'.';
  s += where;
  return s;
}

void setErrCode(jespin::IErrInfo& rec, int32_t code, std::u16string_view source) {
  rec.setNumber(errNumber(code));
  rec.setDescription(resText(code));
  rec.setSource(source);
}

void raiseCode(int32_t code, std::u16string source) {
  rt::raiseWith(errNumber(code), resText(code), std::move(source));
}

void ErrRecord::trap(const rt::RuntimeError& e, std::u16string_view fnName) {
  info().readError(e.number(), e.source(), e.description(), fnName);
}

void ErrRecord::copy(jespin::IErrInfo& from, std::u16string_view fnName) {
  info().readError(from.number(), from.source(), from.description(), fnName);
}

void raiseRecorded(jespin::IErrInfo& rec) {
  rt::raiseWith(rec.number(), rec.description(), rec.source());
}

void ErrRecord::raise() { raiseRecorded(info()); }

}  // namespace engine
