#include "builtins/svstatfuns.h"

#include "builtins/svsingle.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/ops.h"

namespace engine {

namespace {

// The arguments' sum as a Double and how many there were.  A call without
// arguments has no object to ask, as an absent object fails.
double sumArgs(zorbel::ScriptValue* sv, int32_t& n) {
  if (!sv) rt::raise(rt::err::ObjectNotSet);
  if (!(sv->flag() & zorbel::FlagList)) {
    n = 1;
    return rt::toDouble(sv->value());
  }
  rt::Variant total(0.0);
  for (int32_t i = 1; i <= sv->count(); ++i) {
    total = rt::Variant(rt::toDouble(rt::opAdd(argValue(*sv, i), total)));
  }
  n = sv->count();
  return total.dbl();
}

}  // namespace

rt::Ref<zorbel::ScriptValue> SvStatFuns::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue* sv,
                                                 int32_t) {
  err_.clear();
  try {
    rt::Ref<SvSingle> result = rt::make<SvSingle>();
    int32_t n = 0;
    if (rt::equalsNoCase(key_, u"Sum")) {
      result->letValue(rt::Variant(sumArgs(sv, n)));
    } else if (rt::equalsNoCase(key_, u"Average")) {
      double sum = sumArgs(sv, n);
      result->letValue(rt::Variant(rt::toDouble(rt::opDiv(rt::Variant(sum), rt::Variant(n)))));
    } else {
      result->letValue(rt::Variant(int16_t{0}));
    }
    return result;
  } catch (const rt::RuntimeError& e) {
    err_.trap(e, kFunCallSource);
    return nullptr;
  }
}

rt::Ref<zorbel::ScriptValue> newStatFun(std::u16string_view key) {
  rt::Ref<SvStatFuns> f = rt::make<SvStatFuns>();
  f->setKey(key);
  return f;
}

}  // namespace engine
