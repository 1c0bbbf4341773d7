#include "core/createtree.h"
#include "core/place.h"
#include "core/retype.h"
#include "core/simplebodies.h"
#include "core/steps.h"

namespace engine {

void BodySerial::addCode(ExpItems& eis) {
  retypeAssignments(eis);
  CreateTree builder;
  for (const ExpItem& ei : eis) {
    builder.add(ei);
    if (builder.error().haveErr()) {
      error_.copy(builder.error(), u"AddCode");
      fedFailed_ = true;
      return;
    }
  }
  builder.finish();  // a bracket left open is reported, not silently dropped
  if (builder.error().haveErr()) {
    error_.copy(builder.error(), u"AddCode");
    fedFailed_ = true;
    return;
  }
  statements_.push_back(Statement{builder.takeRoot(), eis.sptModeLine});
}

// A run that ends well leaves no error behind: one found here came from an
// earlier run, or from a run of this same block nested in one of its
// statements (a recursive user function) whose failure was dealt with.
int32_t BodySerial::execute(zorbel::ScriptSpace& ss) {
  for (const Statement& s : statements_) {
    running.line = s.line;
    steps::take();
    s.tree->operation(ss);
    if (s.tree->error().haveErr()) {
      error_.copy(s.tree->error(), u"Execute");
      return ExitNone;
    }
  }
  if (!fedFailed_) error_.clear();
  return ExitNone;
}

}  // namespace engine
