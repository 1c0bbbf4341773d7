// The second edition's user-function body: the blocks of its lines, built
// on the first call and run by every call.
#include "builtins/funbody.h"

#include "core/bodygeneral.h"
#include "core/compoundbodies.h"
#include "core/place.h"

namespace engine {

class FunctionBody {
 public:
  BodyGeneral blocks;
};

void FunctionBodyDelete::operator()(FunctionBody* body) const { delete body; }

// A line the blocks refuse, or a block left open, leaves nothing built.
// The blocks are fed copies: the lines stay as read, for the stored form.
FunctionBodyPtr makeFunctionBody(const ItemsColl& lines, ErrRecord& error) {
  FunctionBodyPtr body(new FunctionBody);
  for (const rt::Ref<ExpItems>& line : lines) {
    running.line = line->sptModeLine;
    body->blocks.addCode(*line->copy());  // a block may cut down the line it is fed
    if (body->blocks.error().haveErr()) {
      error.copy(body->blocks.error(), u"ScriptValue_FunCall");
      return nullptr;
    }
  }
  try {
    requireAllClosed(body->blocks, u"AddCode");
  } catch (const rt::RuntimeError& e) {
    error.trap(e, u"ScriptValue_FunCall");
    return nullptr;
  }
  return body;
}

namespace {

// Apart from runFunctionBody, which then needs no frame of its own.
[[gnu::cold, gnu::noinline]] void bodyFailed(FunctionBody& body, ErrRecord& error) {
  recordBodyFailure(error, body.blocks.error().info());
}

}  // namespace

bool runFunctionBody(FunctionBody& body, zorbel::ScriptSpace& space, ErrRecord& error) {
  body.blocks.execute(space);
  if (!body.blocks.error().haveErr()) [[likely]] return true;
  bodyFailed(body, error);
  return false;
}

}  // namespace engine
