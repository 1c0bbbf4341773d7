#include "core/createtree.h"

namespace engine {

rt::Ref<zorbel::ScriptValue> evalItems(zorbel::ScriptSpace& ss, const ExpItems& items, int32_t rf) {
  std::unique_ptr<expTree> tree = mkTree(items);
  // Evaluating the tree (GetValue, raising its error) comes with the
  // evaluator.
  rt::raise(rt::err::Internal, u"not built yet");
}

}  // namespace engine
