// What lets the evaluator keep what a name resolved to: every engine space
// reports each change of what its names are bound to (a binding made,
// replaced or removed, the space gone or given another parent), and while
// nothing has changed a name resolves to the same variable as before.
#pragma once

#include <cstdint>
#include <string_view>

#include "zorbel/zorbel.h"

namespace engine {

// The count of binding changes so far; the engine runs on one thread.
uint64_t bindingEpoch();
void bindingsChanged();

// Where one name operand of a tree resolved last.
struct NameCache {
  const zorbel::ScriptSpace* space = nullptr;
  uint64_t epoch = 0;
  zorbel::ScriptValue* value = nullptr;
};

// ss.value(name), taken from `cache` while it holds.  Only a variable bound
// in a chain of engine spaces is kept; a library function is made anew and
// a new name is created by the space, as every lookup does.
rt::Ref<zorbel::ScriptValue> resolve(zorbel::ScriptSpace& ss, std::u16string_view name,
                                     NameCache& cache);

}  // namespace engine
