// Reading the lines of the first edition's block statements: pieces of a
// line's tokens, and what counts a line as opening or closing a statement.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "core/exptree.h"
#include "core/tokenrun.h"
#include "line.h"
#include "zorbel/zorbel.h"

namespace dovrel {

// `tokens` without the blanks and statement separators they start with.
std::span<const engine::ExpItem> statements(std::span<const engine::ExpItem> tokens);
// The same for the tokens of `line` from position `from` (1-based).
inline std::span<const engine::ExpItem> statementsFrom(const Line& line, int32_t from) {
  return statements(engine::tokensFrom(line.items(), from));
}

// A line of its own of `tokens`, numbered as `line`; null for none.
rt::Ref<Line> partOf(std::span<const engine::ExpItem> tokens, const Line& line);

// How many more statements with the opening keyword `opener` (or
// `opener2`) than closing lines `closer` the line holds.
int32_t balance(const Line& line, int32_t opener, int32_t opener2, int32_t closer);

// The value of `tree` in `ss`, which must be a value: a failure of the
// tree is raised, and so is `code` (the statement's own error) when it
// yields nothing.
rt::Ref<zorbel::ScriptValue> valueOf(engine::expTree& tree, zorbel::ScriptSpace& ss, int32_t rf,
                                     int32_t code, const char16_t* where);

// The truth of the condition `tree`; its failure is raised.
bool truthOf(engine::expTree& tree, zorbel::ScriptSpace& ss);

}  // namespace dovrel
