#include "core/linesplit.h"

#include <span>

#include "core/compoundbodies.h"

namespace engine {

namespace {

// Where the statement after the clause of an "ElseIf c Then" or "Else" begins
// when it opens a block ("ElseIf c Then For i = 1 To 3"), or 0.  The lines
// after it belong to that block: read as a line of its own, it is counted
// by every statement that holds the If, as a line that opens a block is.
size_t blockAfterClause(std::span<const ExpItem> s) {
  size_t i = 0;
  if (s.front().iType == tok::ElseIf) {
    while (i < s.size() && s[i].iType != tok::Then) ++i;
  } else if (s.front().iType != tok::Else) {
    return 0;
  }
  for (++i; i < s.size() && s[i].iType == tok::Blank; ++i) {}
  return i < s.size() && opensCompound(s[i].iType) ? i : 0;
}

// Where the statements of a line begin and end, blank space trimmed.
std::vector<std::span<const ExpItem>> statementsOf(std::span<const ExpItem> line) {
  std::vector<std::span<const ExpItem>> out;
  size_t begin = 0;
  // Moves `begin` to the first token of the statement that ends at `end`,
  // past a clause cut off before a block it opens.
  auto start = [&](size_t end) {
    while (begin < end && line[begin].iType == tok::Blank) ++begin;
    if (begin == end) return;
    const size_t block = blockAfterClause(line.subspan(begin, end - begin));
    if (block == 0) return;
    out.push_back(line.subspan(begin, block));
    begin += block;
  };
  auto cut = [&](size_t end) {
    start(end);
    if (begin < end) out.push_back(line.subspan(begin, end - begin));
  };
  int32_t depth = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const int32_t t = line[i].iType;
    if (tok::isOpeningBracket(t)) ++depth;
    else if (tok::isClosingBracket(t) && depth > 0) --depth;
    if (depth > 0 || t != tok::Separator) continue;
    start(i);
    if (begin < i && line[begin].iType == tok::If) break;  // the If takes the rest
    cut(i);
    begin = i + 1;
  }
  cut(line.size());
  return out;
}

bool startsBlockStatement(std::span<const ExpItem> s) {
  return tok::isKeyword(s.front().iType) && s.front().iType != tok::Set;
}

}  // namespace

std::vector<rt::Ref<ExpItems>> splitStatements(const ExpItems& eis) {
  std::vector<std::span<const ExpItem>> parts = statementsOf({eis.begin(), eis.end()});
  if (parts.size() < 2) return {};
  bool needed = parts.front().front().iType != tok::If && startsBlockStatement(parts.front());
  for (size_t i = 1; i < parts.size() && !needed; ++i) needed = startsBlockStatement(parts[i]);
  if (!needed) return {};
  std::vector<rt::Ref<ExpItems>> lines;
  for (std::span<const ExpItem> p : parts) {
    rt::Ref<ExpItems> line = rt::make<ExpItems>();
    line->sptModeIndex = eis.sptModeIndex;
    line->sptModeLine = eis.sptModeLine;
    line->tokens().assign(p.begin(), p.end());
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace engine
