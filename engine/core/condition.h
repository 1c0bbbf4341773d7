// Conditions of the block statements (If, ElseIf, Do, Loop), in both
// editions: built with every plain "=" comparing, and read for their truth.
#pragma once

#include <memory>
#include <span>

#include "core/expitem.h"
#include "core/exptree.h"
#include "zorbel/zorbel.h"

namespace engine {

// The tree of a condition, in which a plain "=" compares.  Raises what the
// tree builder finds.
std::unique_ptr<expTree> conditionTree(std::span<const ExpItem> tokens);

// The truth of the condition `tree` in `ss` (a condition that yields
// nothing is false).  False when it failed, the failure in the tree's
// record.
bool conditionTruth(expTree& tree, zorbel::ScriptSpace& ss, bool& out);

}  // namespace engine
