#include "core/bindings.h"

#include "core/space.h"

namespace engine {

namespace {
uint64_t epoch = 1;
}  // namespace

uint64_t bindingEpoch() { return epoch; }
void bindingsChanged() { ++epoch; }

rt::Ref<zorbel::ScriptValue> resolve(zorbel::ScriptSpace& ss, std::u16string_view name,
                                     NameCache& cache) {
  if (cache.space == &ss && cache.epoch == epoch) return cache.value;
  if (auto* own = static_cast<Space*>(ss.query(Space::iid))) {
    if (zorbel::ScriptValue* bound = own->findBound(name)) {
      cache = NameCache{&ss, epoch, bound};
      return bound;
    }
  }
  cache.space = nullptr;
  return ss.value(name);
}

}  // namespace engine
