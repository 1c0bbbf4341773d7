#include "core/condition.h"

#include "core/createtree.h"
#include "core/evalsupport.h"
#include "core/quickeval.h"
#include "core/tokenrun.h"

namespace engine {

std::unique_ptr<expTree> conditionTree(std::span<const ExpItem> tokens) {
  TokenRun run;
  run.reserve(tokens.size());
  for (const ExpItem& ei : tokens) {
    appendToken(run, ei);
    if (!run.empty() && run.back().iType == tok::Equals) run.back().iType = tok::EqualEqual;
  }
  return mkTree(run);
}

namespace {

// A condition the short path does not give, through an operand.  Apart, so
// that the short path's caller keeps a small frame.
[[gnu::noinline]] bool generalTruth(expTree& tree, zorbel::ScriptSpace& ss, bool& out) {
  Operand v;
  if (!tree.evaluate(ss, zorbel::ModeValue, v)) return false;
  out = !v.absent() && truthOf(v.value());
  return true;
}

}  // namespace

bool conditionTruth(expTree& tree, zorbel::ScriptSpace& ss, bool& out) {
  // A condition the short path gives needs no operand.
  if (rt::Variant plain; quick::takes(tree) && quick::value(tree, ss, plain)) {
    out = truthOf(plain);
    return true;
  }
  return generalTruth(tree, ss, out);
}

}  // namespace engine
