#include "libcases.h"

namespace enginetest {

rt::Ref<zorbel::ScriptValue> argsOf(const std::vector<rt::Variant>& args) {
  if (args.empty()) return nullptr;
  if (args.size() == 1) return engine::SvSingle::of(args[0]);
  rt::Ref<engine::SvGeneral> list = argList({});
  for (const rt::Variant& a : args) list->addSubs(engine::SvSingle::of(a).get());
  return list;
}

}  // namespace enginetest
