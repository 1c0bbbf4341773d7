#include "core/loadcheck.h"

#include "core/bodygeneral.h"

namespace engine {

namespace {

bool overLimit(jespin::IErrInfo& e) {
  return e.number() == rt::err::ExpressionTooComplex || e.number() == rt::err::OutOfStackSpace;
}

}  // namespace

LoadCheck::LoadCheck() : block_(std::make_unique<BodyGeneral>()) {}
LoadCheck::~LoadCheck() = default;

void LoadCheck::directive() { block_ = std::make_unique<BodyGeneral>(); }

// A statement done with starts a new block: the blocks of a long script are
// not all kept, as a host keeps them.
bool LoadCheck::line(const ExpItems& line, ErrRecord& error) {
  block_->addCode(*line.copy());  // a block may cut down the line it is fed
  ErrRecord& fed = block_->error();
  if (fed.haveErr() && overLimit(fed.info())) {
    error.copy(fed, u"CompileLine");
    directive();
    return false;
  }
  if (fed.haveErr() || !block_->hasOpenBlock()) directive();
  return true;
}

bool LoadCheck::function(const ItemsColl& lines, ErrRecord& error, int32_t& failedLine) {
  LoadCheck check;
  for (const rt::Ref<ExpItems>& line : lines) {
    if (check.line(*line, error)) continue;
    failedLine = line->sptModeLine;
    return false;
  }
  return true;
}

}  // namespace engine
