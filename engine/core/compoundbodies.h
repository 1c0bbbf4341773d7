// The blocks of the compound statements (Do, For, ForEach, If, Select,
// With), made by BodyGeneral for the line that opens one.  Each takes the
// lines up to its closing line and holds a BodyGeneral for those inside.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/blockdepth.h"
#include "core/execbody.h"
#include "core/tokencode.h"

namespace engine {

// Whether a line beginning with `keyword` opens a compound statement.
constexpr bool opensCompound(int32_t keyword) {
  return keyword == tok::Do || keyword == tok::For || keyword == tok::ForEach ||
         keyword == tok::If || keyword == tok::Select || keyword == tok::With;
}

// A new block for the statement that `keyword` opens, `depth` compound
// statements deep counting itself.  Raises 28 beyond kMaxBlockDepth.
std::unique_ptr<ExecBody> newCompoundBody(int32_t keyword, int32_t depth);

class BodyGeneral;

// The description of error 8 for the statement `opener` (a keyword that
// opens a block, Sub and Function among them) opened on `line` and never
// closed: it names both, and the line that would have closed it.
std::u16string unclosedText(int32_t opener, int32_t line);

// The lines `body` took are complete: a block statement still open among
// them is error 8 under `source`, at its opening line (place.h).  The end
// of a script and a directive require this, as does the end of a user
// function's body.
void requireAllClosed(const BodyGeneral& body, std::u16string_view source);

}  // namespace engine
