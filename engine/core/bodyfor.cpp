#include <cstdint>

#include "builtins/svgeneral.h"
#include "core/forcounter.h"
#include "core/loops.h"
#include "rt/convert.h"
#include "rt/enumerator.h"
#include "rt/ops.h"

namespace engine {

bool ForLoop::goesOn(int32_t code, int32_t& result) {
  if (code == ExitNone) return true;
  result = code == ExitFor ? ExitNone : code;
  return false;
}

void BodyFOR::firstLine(ExpItems& eis) { header_ = readForHeader(eis); }

bool BodyFOR::bound(expTree& tree, zorbel::ScriptSpace& ss, int32_t& out) {
  Operand v;
  if (!evaluated(tree, ss, zorbel::ModeValue, v)) return false;
  out = rt::toLong(v.value());
  return true;
}

int32_t BodyFOR::run(zorbel::ScriptSpace& ss) {
  Operand var;
  if (!evaluated(*header_.variable, ss, zorbel::ModeValue, var)) return ExitNone;
  rt::Ref<zorbel::ScriptValue> v = var.requireObject();
  header_.start->operation(ss);
  if (header_.start->error().haveErr()) {
    error_.copy(header_.start->error(), u"Execute");
    return ExitNone;
  }
  int32_t last = 0;
  int32_t step = 1;
  if (!bound(*header_.end, ss, last)) return ExitNone;
  if (header_.step && !bound(*header_.step, ss, step)) return ExitNone;
  ForCounter counter(*v, last, step);
  for (;;) {
    if (counter.pastEnd()) return ExitNone;
    if (ss.runStop()) return ExitNone;
    int32_t code = ExitNone;
    if (!ran(inner_, ss, code)) return ExitNone;
    if (int32_t result; !goesOn(code, result)) return result;
    running.line = line_;  // the step belongs to the For line
    if (!counter.step()) {
      error_.copy(v->error(), u"Execute");
      return ExitNone;
    }
  }
}

void BodyForEach::firstLine(ExpItems& eis) { header_ = readForEachHeader(eis); }

int32_t BodyForEach::run(zorbel::ScriptSpace& ss) {
  Operand var;
  if (!evaluated(*header_.variable, ss, zorbel::ModeObject, var)) return ExitNone;
  rt::Ref<zorbel::ScriptValue> v = var.requireObject();
  Operand coll;
  if (!evaluated(*header_.collection, ss, zorbel::ModeObject, coll)) return ExitNone;
  const rt::Variant c = coll.value();
  if (!c.isObject()) rt::raise(rt::err::ObjectRequired);
  rt::Ref<rt::Enumerator> items = rt::enumeratorOf(c.object());
  rt::Variant item;
  for (;;) {
    running.line = line_;  // taking the next item belongs to the For Each line
    if (!items->next(item)) break;
    if (item.isObject()) v->setValue(item);
    else v->letValue(item);
    if (v->hasError()) {
      error_.copy(v->error(), u"Execute");
      return ExitNone;
    }
    int32_t code = ExitNone;
    if (!ran(inner_, ss, code)) return ExitNone;
    if (int32_t result; !goesOn(code, result)) return result;
  }
  return ExitNone;
}

}  // namespace engine
