#include "core/blockheaders.h"

#include "core/createtree.h"
#include "core/tokenrun.h"

namespace engine {

namespace {

[[noreturn]] void malformed() { raiseCode(ErrForSyntax, u"FirstLine"); }

// A header piece that must not be empty.
std::unique_ptr<expTree> part(const TokenRun& tokens) {
  if (tokens.empty()) malformed();
  return mkTree(tokens);
}

}  // namespace

// The first "=" (or ":=") ends the variable, and the start piece keeps the
// variable to become the assignment; any later "=" compares.
ForHeader readForHeader(const ExpItems& eis) {
  ForHeader h;
  enum { Variable, End, Step } state = Variable;
  TokenRun tokens;
  size_t piece = 0;  // where the current piece begins in `tokens`
  for (const ExpItem& ei : tokensFrom(eis, 2)) {
    const int32_t t = ei.iType;
    if ((t == tok::Equals || t == tok::Assign) && state == Variable && !h.variable) {
      h.variable = part(tokens);
      tokens.push_back(ExpItem{tok::Assign, ei.iValue});
      piece = tokens.size();
    } else if (t == tok::To) {
      if (state != Variable || !h.variable || tokens.size() == piece) malformed();
      h.start = mkTree(tokens);
      tokens.clear();
      piece = 0;
      state = End;
    } else if (t == tok::Step) {
      if (state != End) malformed();
      h.end = part(tokens);
      tokens.clear();
      state = Step;
    } else if (t == tok::Each || t == tok::In) {
      malformed();  // For Each split by something between the two words
    } else if (t != tok::Blank || tokens.size() > piece) {  // no blank opens a piece
      tokens.push_back(ei);
      if (t == tok::Equals) tokens.back().iType = tok::EqualEqual;
    }
  }
  if (state == Variable) malformed();
  (state == End ? h.end : h.step) = part(tokens);
  return h;
}

ForEachHeader readForEachHeader(const ExpItems& eis) {
  ForEachHeader h;
  TokenRun tokens;
  for (const ExpItem& ei : tokensFrom(eis, 2)) {
    if (ei.iType == tok::In) {
      if (h.variable) malformed();
      h.variable = part(tokens);
      tokens.clear();
    } else {
      appendToken(tokens, ei);
    }
  }
  if (!h.variable) malformed();
  h.collection = part(tokens);
  return h;
}

std::unique_ptr<expTree> readWithValue(const ExpItems& eis) {
  TokenRun tokens;
  for (const ExpItem& ei : tokensFrom(eis, 2)) appendToken(tokens, ei);
  if (tokens.empty()) raiseCode(ErrGrammar, u"FirstLine");
  return mkTree(tokens);
}

}  // namespace engine
