#include "builtins/hostio.h"
#include "rt/convert.h"

namespace engine {

void SvOutput::writeOut(std::u16string text) {
  if (oneLine_) text += u"\r\n";
  host().raiseOutput(text);
}

rt::Variant SvOutput::value() {
  refuse(u"Get_ScriptValue_Value");
  return rt::Variant(int16_t{0});
}

void SvOutput::letValue(const rt::Variant& v) { writeOut(rt::toText(v)); }

rt::Ref<zorbel::ScriptValue> SvOutput::subs(const rt::Variant& index, int32_t) {
  zorbel::ScriptValue* v = heldValue(index);
  if (!v) rt::raise(rt::err::ObjectRequired);
  writeOut(rt::toText(v->value()));
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> SvOutput::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue* sv,
                                               int32_t) {
  err_.clear();
  try {
    writeOut(sv ? rt::toText(sv->value()) : std::u16string());
  } catch (const rt::RuntimeError& e) {
    err_.trap(e, u"ScriptValue_FunCall");
  }
  return nullptr;
}

}  // namespace engine
