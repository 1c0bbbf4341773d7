#include "core/blockheaders.h"
#include "core/loops.h"

namespace engine {

namespace {

// Takes the With stack back to `depth` entries.
void popTo(jespin::IVStack& with, int32_t depth) {
  while (with.count() > depth)
    if (!with.pop()) break;  // a listener refused
}

}  // namespace

void BodyWITH::firstLine(ExpItems& eis) { object_ = readWithValue(eis); }

int32_t BodyWITH::run(zorbel::ScriptSpace& ss) {
  Operand obj;
  if (!evaluated(*object_, ss, zorbel::ModeObject, obj)) return ExitNone;
  rt::Ref<jespin::IVStack> with = ss.withStack();
  if (!with) rt::raise(rt::err::ObjectNotSet);
  const int32_t depth = with->count();
  with->push(rt::Variant(obj.toObject()));
  int32_t code = ExitNone;
  try {
    ran(inner_, ss, code);
  } catch (...) {
    popTo(*with, depth);
    throw;
  }
  popTo(*with, depth);
  return code;
}

}  // namespace engine
