// The first edition's user-function body: every call replays the stored
// lines through a fresh line dispatcher, up to a failure or an Exit.  A
// block statement still open after the last line is an error.
#include "builtins/funbody.h"

#include "bodygeneral.h"
#include "line.h"

namespace engine {

class FunctionBody {
 public:
  dovrel::Lines lines;
};

void FunctionBodyDelete::operator()(FunctionBody* body) const { delete body; }

// Nothing in the lines is looked at before they run.  A line's first run
// settles its statement's "=" in its tokens, so the body runs copies: the
// lines stay as read, for the stored form.
FunctionBodyPtr makeFunctionBody(const ItemsColl& lines, ErrRecord&) {
  FunctionBodyPtr body(new FunctionBody);
  body->lines.reserve(static_cast<size_t>(lines.count()));
  for (const rt::Ref<ExpItems>& line : lines)
    body->lines.push_back(rt::make<dovrel::Line>(line->copy()));
  return body;
}

bool runFunctionBody(FunctionBody& body, zorbel::ScriptSpace& space, ErrRecord& error) {
  dovrel::BodyGeneral replay;
  for (const rt::Ref<dovrel::Line>& line : body.lines) {
    replay.execute(space, *line);
    if (replay.error().haveErr()) {
      recordBodyFailure(error, replay.error().info());
      return false;
    }
    if (replay.isExit()) return true;  // any Exit that reaches here ends the call
  }
  try {
    replay.requireClosed();
  } catch (const rt::RuntimeError& e) {
    error.trap(e, u"ScriptValue_FunCall");
    return false;
  }
  return true;
}

}  // namespace engine
