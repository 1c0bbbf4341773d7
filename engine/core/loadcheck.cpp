#include "core/loadcheck.h"

#include <algorithm>
#include <utility>

#include "core/blockdepth.h"
#include "core/bodygeneral.h"
#include "core/compoundbody.h"
#include "core/createtree.h"

namespace engine {

namespace {

bool overLimit(jespin::IErrInfo& e) {
  return e.number() == rt::err::ExpressionTooComplex || e.number() == rt::err::OutOfStackSpace;
}

// What feeding a line may do to the blocks open before it, at most.
struct Reach {
  int32_t opened = 0;  // blocks opened while it is fed
  int32_t net = 0;     // more blocks open after it, when it is fed without error
};

// Every block opened is a statement's first token: If (ElseIf becomes one
// in a one-line If, which closes it), or Do, For, For Each, Select, With,
// not after Exit.  A block If stays open only with nothing after its Then,
// so at the end of the line.  A statement beginning with a closer, once fed
// without error, has closed one block: statements begin at the line's start
// and after each ":" outside brackets (linesplit.cpp); the statements after
// a Then, an Else or a Case are cut from the line again, where a ":" outside
// brackets stays outside them.
Reach reachOf(const ExpItems& line) {
  Reach r;
  int32_t brackets = 0;
  int32_t previous = 0;  // the token before, blank space aside
  bool statementStart = true;
  bool ifSinceThen = false;
  bool thenOfIf = false;  // the last Then is that of an If
  for (const ExpItem& ei : line) {
    const int32_t t = ei.iType;
    if (t == tok::Blank) continue;
    const bool starts = std::exchange(statementStart, false);
    switch (t) {
      case tok::If:
        ++r.opened;
        ifSinceThen = true;
        break;
      case tok::ElseIf: ++r.opened; break;
      case tok::Do:
      case tok::For:
      case tok::ForEach:
      case tok::Select:
      case tok::With:
        if (previous != tok::Exit) {
          ++r.opened;
          ++r.net;
        }
        break;
      case tok::Then: thenOfIf = std::exchange(ifSinceThen, false); break;
      case tok::Loop:
      case tok::Next:
      case tok::EndIf:
      case tok::EndSelect:
      case tok::EndWith:
        if (starts) --r.net;
        break;
      case tok::Separator: statementStart = brackets == 0; break;
      case tok::OpenParen:
      case tok::OpenSquare:
      case tok::OpenBrace: ++brackets; break;
      case tok::CloseParen:
      case tok::CloseSquare:
      case tok::CloseBrace:
        if (brackets > 0) --brackets;
        break;
      default: break;
    }
    previous = t;
  }
  if (previous == tok::Then && thenOfIf) ++r.net;
  return r;
}

}  // namespace

// A block may cut down the line it is fed.
rt::Ref<ExpItems> LoadCheck::Unfed::toFeed() const {
  if (tokens) return tokens->copy();
  rt::Ref<ExpItems> t = rt::make<ExpItems>();
  t->sptModeLine = line;
  t->init(text);  // as it was when taken
  return t;
}

LoadCheck::LoadCheck() : block_(std::make_unique<BodyGeneral>()) {}
LoadCheck::~LoadCheck() = default;

void LoadCheck::restart() {
  if (fed_) block_ = std::make_unique<BodyGeneral>();
  fed_ = false;
}

void LoadCheck::directive() {
  restart();
  unfed_.clear();
  openBound_ = 0;
}

bool LoadCheck::withinBound(const ExpItems& line) {
  if (line.count() > kMaxTreeNodes) return false;
  const Reach r = reachOf(line);
  if (openBound_ + r.opened > kMaxBlockDepth) return false;
  openBound_ = std::max(0, openBound_ + r.net);
  if (openBound_ == 0) directive();  // no block can be open: what was kept is done with
  return true;
}

// A statement done with starts a new block: the blocks of a long script are
// not all kept, as a host keeps them.
bool LoadCheck::feed(ExpItems& line, ErrRecord& error) {
  fed_ = true;
  block_->addCode(line);
  ErrRecord& fed = block_->error();
  if (fed.haveErr() && overLimit(fed.info())) {
    error.copy(fed, u"CompileLine");
    return false;
  }
  if (fed.haveErr() || !block_->hasOpenBlock()) restart();
  return true;
}

bool LoadCheck::take(const ExpItems& line, Unfed unfed, ErrRecord& error, int32_t& failedLine) {
  if (withinBound(line)) {
    if (openBound_ > 0) unfed_.push_back(std::move(unfed));
    return true;
  }
  unfed.tokens = line.copy();  // the caller may reuse its own
  unfed_.push_back(std::move(unfed));
  auto refused = std::find_if(unfed_.begin(), unfed_.end(),
                              [&](const Unfed& u) { return !feed(*u.toFeed(), error); });
  if (refused != unfed_.end()) {
    failedLine = refused->line;
    directive();
    return false;
  }
  unfed_.clear();
  const CompoundBody* open = block_->unclosed();
  openBound_ = open ? open->depth() : 0;
  return true;
}

bool LoadCheck::line(std::u16string text, const ExpItems& tokens, ErrRecord& error,
                     int32_t& failedLine) {
  return take(tokens, Unfed{nullptr, std::move(text), tokens.sptModeLine}, error, failedLine);
}

bool LoadCheck::function(const ItemsColl& lines, ErrRecord& error, int32_t& failedLine) {
  LoadCheck check;
  for (const rt::Ref<ExpItems>& line : lines)
    if (!check.take(*line, Unfed{line, {}, line->sptModeLine}, error, failedLine)) return false;
  return true;
}

}  // namespace engine
