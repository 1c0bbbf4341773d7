#include "builtins/hostio.h"
#include "core/space.h"
#include "rt/convert.h"

namespace engine {

rt::Ref<zorbel::ScriptValue> SvInput::readIn() {
  if (oneLine_) {
    rt::Ref<zorbel::ScriptValue> line = newTypedValue(u"Fennick.SvString", {});
    line->letValue(rt::Variant(host().raiseInputLine()));
    return line;
  }
  rt::Ref<zorbel::ScriptValue> code = newTypedValue(u"Fennick.SvInteger", {});
  code->letValue(rt::Variant(host().raiseInputChar()));
  return code;
}

rt::Variant SvInput::value() {
  if (oneLine_) return rt::Variant(host().raiseInputLine());
  return rt::Variant(host().raiseInputChar());
}

void SvInput::letValue(const rt::Variant&) { refuse(u"ScriptValue_Value"); }

// A prompt given as an index is written as it comes: the text of the value
// of the object it holds, or of the plain value itself.
rt::Ref<zorbel::ScriptValue> SvInput::subs(const rt::Variant& index, int32_t) {
  if (zorbel::ScriptValue* v = heldValue(index)) {
    host().raiseOutput(rt::toText(v->value()));
  } else if (!index.isObject() && !index.isEmpty()) {
    host().raiseOutput(rt::toText(index));
  }
  return readIn();
}

rt::Ref<zorbel::ScriptValue> SvInput::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue* sv, int32_t) {
  err_.clear();
  try {
    if (sv) host().raiseOutput(rt::toText(sv->value()));
    return readIn();
  } catch (const rt::RuntimeError& e) {
    err_.trap(e, u"ScriptValue_FunCall");
  }
  return nullptr;
}

}  // namespace engine
