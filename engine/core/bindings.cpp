#include "core/bindings.h"

#include "core/funlibs.h"

namespace engine {

// Only an engine space is kept, since only it says when it goes.
Space* EngineSpaces::query(zorbel::ScriptSpace& ss) {
  auto* own = static_cast<Space*>(ss.query(Space::iid));
  if (own) {
    kept_[1] = kept_[0];
    kept_[0] = Kept{&ss, own};
  }
  return own;
}

void resolveAgain(zorbel::ScriptSpace& ss, std::u16string_view name, NameCache& cache,
                  Operand& out) {
  cache.position = 0;
  cache.library = nullptr;
  Space* s = EngineSpaces::of(ss);
  for (int32_t d = 0; s && d <= NameCache::kMaxDepth; ++d, s = s->enclosing()) {
    cache.shapes[d] = s->shape();
    if (int32_t at = s->bindings().positionOf(name)) {
      cache.depth = d;
      cache.position = at;
      const ScriptValues::Bound b = s->bindings().boundAt(at);
      out.setObject(b.value, b.direct);
      return;
    }
    // Bound nowhere up to the root: the root's libraries have it, as
    // ss.value finds it there, or a new variable is made below.
    if (IFunLibs* libs = s->enclosing() ? nullptr : s->functionLibs()) {
      FLGeneral* from = nullptr;
      if (rt::Ref<zorbel::ScriptValue> f = libs->findFun(name, &from)) {
        if (from) {
          cache.depth = d;
          cache.library = from;
          cache.libraries = libs;
          cache.epoch = libraryEpoch;
        }
        out.setObject(std::move(f));
        return;
      }
      break;
    }
  }
  out.setObject(ss.value(name));
}

}  // namespace engine
