#include "core/tokenrun.h"

#include "core/tokencode.h"

namespace engine {

void appendToken(TokenRun& run, const ExpItem& ei) {
  if (run.empty() && ei.iType == tok::Blank) return;
  run.push_back(ei);
}

rt::Ref<ExpItems> lineOf(std::span<const ExpItem> tokens, const ExpItems& line) {
  rt::Ref<ExpItems> own = rt::make<ExpItems>();
  own->sptModeIndex = line.sptModeIndex;
  own->sptModeLine = line.sptModeLine;
  own->tokens().assign(tokens.begin(), tokens.end());
  return own;
}

std::span<const ExpItem> tokensFrom(const ExpItems& eis, int32_t from) {
  std::span<const ExpItem> all(eis.begin(), eis.end());
  const size_t skip = static_cast<size_t>(from - 1);
  return skip >= all.size() ? std::span<const ExpItem>() : all.subspan(skip);
}

}  // namespace engine
