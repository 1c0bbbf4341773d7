// The blocks of the compound statements (Do, For, ForEach, If, Select,
// With), made by BodyGeneral for the line that opens one.  Each takes the
// lines up to its closing line and holds a BodyGeneral for those inside.
#pragma once

#include <cstdint>
#include <memory>

#include "core/execbody.h"

namespace engine {

// The deepest that compound statements nest.  Feeding and running a block
// recurse once per level, so the depth is bounded like a tree's size.
constexpr int32_t kMaxBlockDepth = 256;

// A new block for the statement that `keyword` opens, `depth` compound
// statements deep counting itself.  Raises 28 beyond kMaxBlockDepth.
std::unique_ptr<ExecBody> newCompoundBody(int32_t keyword, int32_t depth);

}  // namespace engine
