#include "core/compoundbodies.h"

#include <string>

#include "core/conditionals.h"
#include "core/loops.h"
#include "core/tables.h"
#include "rt/error.h"
#include "rt/text.h"

namespace engine {

std::unique_ptr<ExecBody> newCompoundBody(int32_t keyword, int32_t depth) {
  if (depth > kMaxBlockDepth)
    rt::raiseWith(rt::err::OutOfStackSpace,
                  rt::errorText(rt::err::OutOfStackSpace) + u"：语句块嵌套超过 " +
                      rt::ascii(std::to_string(kMaxBlockDepth)) + u" 层",
                  u"NewBody");
  switch (keyword) {
    case tok::Do: return std::make_unique<BodyDo>(depth);
    case tok::For: return std::make_unique<BodyFOR>(depth);
    case tok::ForEach: return std::make_unique<BodyForEach>(depth);
    case tok::If: return std::make_unique<BodyIF>(depth);
    case tok::Select: return std::make_unique<BodySELECT>(depth);
    case tok::With: return std::make_unique<BodyWITH>(depth);
    default: rt::raise(rt::err::Internal, codeToText(keyword) + u" opens no statement");
  }
}

}  // namespace engine
