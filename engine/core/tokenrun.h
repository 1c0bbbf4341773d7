// Pieces of a line's tokens, as statement headers cut them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/expitems.h"

namespace engine {

using TokenRun = std::vector<ExpItem>;

// Appends a token to a piece; blank space at the start of a piece is
// dropped.
void appendToken(TokenRun& run, const ExpItem& ei);
// A new line of copies of `tokens`, with the numbers of `line`.
rt::Ref<ExpItems> lineOf(std::span<const ExpItem> tokens, const ExpItems& line);
// The tokens of `eis` from position `from` (1-based) to the end.
std::span<const ExpItem> tokensFrom(const ExpItems& eis, int32_t from);

}  // namespace engine
