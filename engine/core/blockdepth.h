// How deep block statements nest.  Feeding and running a block recurse once
// per level in both editions, so the depth is bounded like a tree's size.
#pragma once

#include <cstdint>

namespace engine {

// The deepest that compound statements nest.
constexpr int32_t kMaxBlockDepth = 256;

// Raises 28 (out of stack space, naming the limit) when `depth` compound
// statements, counting the one being opened, are more than kMaxBlockDepth.
void requireBlockDepth(int32_t depth);

}  // namespace engine
