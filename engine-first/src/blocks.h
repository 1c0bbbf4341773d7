// The block statements of the first edition, each private to its file:
// BodyIF and BodySELECT (conditionals.cpp), BodyDo, BodyFOR and
// BodyForEach (loops.cpp), BodyWITH (bodywith.cpp).
#pragma once

#include <cstdint>
#include <memory>

#include "block.h"

namespace dovrel {

// A new executor for the statement `keyword` opens (If, Select, Do, For,
// ForEach, With), `depth` block statements deep counting itself.  Raises
// 28 beyond kMaxBlockDepth.
std::unique_ptr<Block> newBlock(int32_t keyword, int32_t depth);

std::unique_ptr<Block> newIf(int32_t depth);
std::unique_ptr<Block> newSelect(int32_t depth);
std::unique_ptr<Block> newDo(int32_t depth);
std::unique_ptr<Block> newFor(int32_t depth);
std::unique_ptr<Block> newForEach(int32_t depth);
std::unique_ptr<Block> newWith(int32_t depth);

}  // namespace dovrel
