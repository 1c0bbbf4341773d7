#include "core/blockdepth.h"

#include <string>

#include "rt/error.h"
#include "rt/text.h"

namespace engine {

void requireBlockDepth(int32_t depth) {
  if (depth <= kMaxBlockDepth) return;
  rt::raiseWith(rt::err::OutOfStackSpace,
                rt::errorText(rt::err::OutOfStackSpace) + u"：语句块嵌套超过 " +
                    rt::ascii(std::to_string(kMaxBlockDepth)) + u" 层",
                u"NewBody");
}

}  // namespace engine
