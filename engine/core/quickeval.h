// The evaluator's short path.  A tree of arithmetic operators and
// comparisons over literals and plain variables reads nothing but plain
// values and runs no code, so its value can be computed straight from them,
// without the operand objects, holders and error chains of the general path.
//
// The short path is tried first.  Where it meets anything else (a name that
// is no plain variable, a value that is an object, an operator that fails)
// it gives up, having changed nothing but what resolving names changes (a
// new name becomes a variable, as it would anyway), and the general path
// evaluates the tree from the start, reporting what fails as it always does.
#pragma once

#include "core/bindings.h"
#include "core/exptree.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace engine::quick {

// What the short path makes of `tree`, worked out on its first run.
expTree::Quick classifyTree(expTree& tree);

// The same, without a call once it has been worked out.
[[gnu::always_inline]] inline expTree::Quick kind(expTree& tree) {
  return tree.quick != expTree::Quick::Unknown ? tree.quick : classifyTree(tree);
}

// Whether the short path may give the value of `tree` (decided once).
inline bool takes(expTree& tree) { return kind(tree) == expTree::Quick::Operator; }

// The value of `tree` when the short path gives it; false otherwise.  Only
// an operator's result is given: a tree that stands for an object (a bare
// name, a bracketed name) is left to the general path.
bool value(expTree& tree, zorbel::ScriptSpace& ss, rt::Variant& out);
// The same for a caller that has asked EngineSpaces::of(ss) already.
bool value(expTree& tree, zorbel::ScriptSpace& ss, const Space* first, rt::Variant& out);

// What the evaluator may do directly with the value a name operand (the
// left or right item of `node`) stands for when no lookup is kept for it.
Direct directAgain(expTree& node, bool left, zorbel::ScriptSpace& ss);

// The same, in line for the kept case: the short path asks it for every
// name it reads.  `first` is EngineSpaces::of(ss), which a caller reading
// several names asks once.
[[gnu::always_inline]] inline Direct direct(const Space* first, expTree& node, bool left,
                                            zorbel::ScriptSpace& ss) {
  const NameCache& cache = node.names[left ? 0 : 1];
  if (const Space* s = keptSpace(first, cache)) return s->bindings().directAt(cache.position);
  return directAgain(node, left, ss);
}
[[gnu::always_inline]] inline Direct direct(expTree& node, bool left, zorbel::ScriptSpace& ss) {
  return direct(EngineSpaces::of(ss), node, left, ss);
}

}  // namespace engine::quick
