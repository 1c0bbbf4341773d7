// How deep block statements nest, and what a block statement that is never
// closed lacks.  Feeding and running a block recurse once per level in both
// editions, so the depth is bounded like a tree's size.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

// The deepest that compound statements nest.
constexpr int32_t kMaxBlockDepth = 256;

// Raises 28 (out of stack space, naming the limit) when `depth` compound
// statements, counting the one being opened, are more than kMaxBlockDepth.
void requireBlockDepth(int32_t depth);

// What is missing when the statement `opener` (a keyword that opens a
// block, Sub and Function among them) opened on `line` is never closed:
// "第 N 行的 If 没有对应的 End If".
std::u16string missingCloser(int32_t opener, int32_t line);

}  // namespace engine
