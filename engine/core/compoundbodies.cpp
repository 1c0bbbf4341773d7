#include "core/compoundbodies.h"

#include <string>

#include "core/conditionals.h"
#include "core/loops.h"
#include "core/place.h"
#include "core/tables.h"
#include "rt/error.h"
#include "rt/text.h"

namespace engine {

std::unique_ptr<ExecBody> newCompoundBody(int32_t keyword, int32_t depth) {
  requireBlockDepth(depth);
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

std::u16string unclosedText(int32_t opener, int32_t line) {
  return resText(ErrUnclosed) + u"：" + missingCloser(opener, line);
}

void requireAllClosed(const BodyGeneral& body, std::u16string_view source) {
  const CompoundBody* open = body.unclosed();
  if (!open) return;
  running.line = open->openingLine();
  rt::raiseWith(errNumber(ErrUnclosed), unclosedText(open->opener(), open->openingLine()),
                std::u16string(source));
}

}  // namespace engine
