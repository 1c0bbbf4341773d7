#include "blockline.h"

#include "core/condition.h"
#include "core/tokencode.h"

namespace dovrel {

namespace tok = engine::tok;

std::span<const engine::ExpItem> statements(std::span<const engine::ExpItem> tokens) {
  size_t skip = 0;
  while (skip < tokens.size() &&
         (tokens[skip].iType == tok::Blank || tokens[skip].iType == tok::Separator))
    ++skip;
  return tokens.subspan(skip);
}

rt::Ref<Line> partOf(std::span<const engine::ExpItem> tokens, const Line& line) {
  if (tokens.empty()) return nullptr;
  return rt::make<Line>(engine::lineOf(tokens, line.items()));
}

int32_t balance(const Line& line, int32_t opener, int32_t opener2, int32_t closer) {
  int32_t open = 0;
  for (const engine::ExpItem& ei : line.items()) {
    if (ei.iType == opener || ei.iType == opener2) ++open;
    else if (ei.iType == closer) --open;
  }
  return open;
}

rt::Ref<zorbel::ScriptValue> valueOf(engine::expTree& tree, zorbel::ScriptSpace& ss, int32_t rf,
                                     int32_t code, const char16_t* where) {
  rt::Ref<zorbel::ScriptValue> v = tree.getValue(ss, rf);
  if (tree.error().haveErr()) tree.error().raise();
  if (!v) engine::raiseCode(code, where);
  return v;
}

bool truthOf(engine::expTree& tree, zorbel::ScriptSpace& ss) {
  bool truth = false;
  if (!engine::conditionTruth(tree, ss, truth)) tree.error().raise();
  return truth;
}

}  // namespace dovrel
