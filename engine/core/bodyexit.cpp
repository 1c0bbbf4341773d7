#include "core/simplebodies.h"

namespace engine {

void BodyExit::addCode(ExpItems& eis) {
  const int32_t t = eis.count() > 1 ? eis.item(2).iType : ExitNone;
  if (t == ExitDo || t == ExitFor || t == ExitFunction || t == ExitSub) target_ = t;
  else error_.setCode(ErrExit, u"AddCode");
}

}  // namespace engine
