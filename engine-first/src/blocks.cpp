#include "blocks.h"

#include "core/blockdepth.h"
#include "core/tokencode.h"
#include "rt/error.h"

namespace dovrel {

std::unique_ptr<Block> newBlock(int32_t keyword, int32_t depth) {
  engine::requireBlockDepth(depth);
  namespace tok = engine::tok;
  switch (keyword) {
    case tok::If: return newIf(depth);
    case tok::Select: return newSelect(depth);
    case tok::Do: return newDo(depth);
    case tok::For: return newFor(depth);
    case tok::ForEach: return newForEach(depth);
    case tok::With: return newWith(depth);
    default: rt::raise(rt::err::Internal);
  }
}

}  // namespace dovrel
