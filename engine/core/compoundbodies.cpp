#include "core/compoundbodies.h"

#include "core/tables.h"
#include "rt/error.h"

namespace engine {

std::unique_ptr<ExecBody> newCompoundBody(int32_t keyword) {
  // TODO(blocks): BodyDo, BodyFOR, BodyForEach, BodyIF, BodySELECT, BodyWITH.
  rt::raise(rt::err::Internal, codeToText(keyword) + u" statements are not built yet");
}

}  // namespace engine
