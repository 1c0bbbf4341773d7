#include "core/loops.h"

namespace engine {

void BodyDo::readCondition(const ExpItems& eis, const char16_t* where) {
  const int32_t kind = eis.count() >= 2 ? eis.item(2).iType : 0;
  if (kind != tok::While && kind != tok::Until) raiseCode(ErrDoSyntax, where);
  condition_ = conditionTree(tokensFrom(eis, 3));
  if (condition_->isEmpty()) raiseCode(ErrDoSyntax, where);
  until_ = kind == tok::Until;
  conditionLine_ = eis.sptModeLine;
}

void BodyDo::firstLine(ExpItems& eis) {
  if (eis.count() < 2) testAtEnd_ = true;
  else readCondition(eis, u"FirstLine");
}

// There is no unconditional loop, and a loop tests one condition: exactly
// one of the Do and Loop lines carries it.
void BodyDo::closingLine(const ExpItems& eis) {
  if (testAtEnd_) readCondition(eis, u"NextLine");
  else if (eis.count() > 1) raiseCode(ErrDoSyntax, u"NextLine");
}

int32_t BodyDo::run(zorbel::ScriptSpace& ss) {
  int32_t code = ExitNone;
  if (testAtEnd_ && !ran(inner_, ss, code)) return ExitNone;
  for (;;) {
    if (code != ExitNone) return code == ExitDo ? ExitNone : code;
    if (ss.runStop()) return ExitNone;
    // A Do whose Loop line never came has no condition: it runs once.
    bool go = false;
    running.line = conditionLine_;
    if (condition_ && !truth(*condition_, ss, go)) return ExitNone;
    if (go == until_ || !condition_) return ExitNone;
    if (!ran(inner_, ss, code)) return ExitNone;
  }
}

}  // namespace engine
