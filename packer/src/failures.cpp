#include "failures.h"

#include "names.h"
#include "rt/error.h"
#include "rt/fspath.h"

namespace wistel {

void raiseSystem(int errnum, int32_t missing, std::u16string_view shown) {
  try {
    rt::fs::raiseErrno(errnum, missing);
  } catch (const rt::RuntimeError& e) {
    rt::raise(e.number(), shownName(shown));
  }
}

void refuse(std::u16string description) {
  rt::raiseWith(rt::err::InvalidCall, std::move(description), {});
}

void raiseDamaged(std::u16string_view why) {
  refuse(u"文件包已损坏：" + std::u16string(why));
}

}  // namespace wistel
