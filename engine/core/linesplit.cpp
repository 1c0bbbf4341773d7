#include "core/linesplit.h"

#include <span>

namespace engine {

namespace {

// Where the statements of a line begin and end, blank space trimmed.
std::vector<std::span<const ExpItem>> statementsOf(std::span<const ExpItem> line) {
  std::vector<std::span<const ExpItem>> out;
  size_t begin = 0;
  int32_t depth = 0;
  auto cut = [&](size_t end) {
    while (begin < end && line[begin].iType == tok::Blank) ++begin;
    if (begin < end) out.push_back(line.subspan(begin, end - begin));
  };
  for (size_t i = 0; i < line.size(); ++i) {
    const int32_t t = line[i].iType;
    if (tok::isOpeningBracket(t)) ++depth;
    else if (tok::isClosingBracket(t) && depth > 0) --depth;
    if (depth > 0 || t != tok::Separator) continue;
    while (begin < i && line[begin].iType == tok::Blank) ++begin;
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
