// Limits of the pack format that the writer and the reader share, so that
// every pack the packer writes reads back.
#pragma once

#include <cstdint>

namespace wistel {

// The block size a pack gets when its host set 0.
constexpr int32_t kDefaultBlkSize = 1024;
// The most bytes one value of the stream may hold, so the largest block.
constexpr int32_t kMaxBlkSize = int32_t{1} << 27;
// Folders nested below the root folder, at most.  Deeper packs are refused
// when written and when read, so reading never runs out of stack.
constexpr int kMaxDepth = 256;

}  // namespace wistel
