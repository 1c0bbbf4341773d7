#include "core/createtree.h"

namespace engine {

rt::Ref<zorbel::ScriptValue> evalItems(zorbel::ScriptSpace& ss, const ExpItems& items, int32_t rf) {
  std::unique_ptr<expTree> tree = mkTree(items);
  rt::Ref<zorbel::ScriptValue> v = tree->getValue(ss, rf);
  if (tree->error().haveErr()) tree->error().raise();
  return v;
}

}  // namespace engine
