#include "core/loadcheck.h"

#include <algorithm>
#include <utility>

#include "core/blockdepth.h"
#include "core/bodygeneral.h"
#include "core/compoundbody.h"
#include "core/createtree.h"
#include "core/directives.h"
#include "core/ownclasses.h"

namespace engine {

namespace {

// A name's bit in a set of name lengths: names of two lengths are never
// the same name (rt::equalsNoCase).
int lengthBit(std::u16string_view name) { return static_cast<int>(std::min<size_t>(name.size(), 63)); }

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

LoadCheck::LoadCheck() : block_(std::make_unique<BodyGeneral>()) {}
LoadCheck::~LoadCheck() = default;

void LoadCheck::start() {
  directive();
  defines_ = nullptr;
  findMacro_ = nullptr;
  nameLengths_ = 0;
}

rt::Ref<ExpItems> LoadCheck::expanded(const ExpItems& line) const {
  if (!findMacro_ || !namesMacro(line, findMacro_)) return nullptr;
  rt::Ref<ExpItems> out = line.copy();
  try {
    if (expandDefines(*out, findMacro_)) return out;
  } catch (const rt::RuntimeError&) {  // a macro's arguments left open
  }
  return nullptr;
}

// A block may cut down the line it is fed.
rt::Ref<ExpItems> LoadCheck::toFeed(const Unfed& unfed) const {
  rt::Ref<ExpItems> t = unfed.tokens ? unfed.tokens->copy() : rt::make<ExpItems>();
  if (!unfed.tokens) {
    t->sptModeLine = unfed.line;
    t->init(unfed.text);  // as it was when taken
  }
  rt::Ref<ExpItems> e = expanded(*t);
  return e ? e : t;
}

void LoadCheck::restart() {
  if (fed_) block_ = std::make_unique<BodyGeneral>();
  fed_ = false;
}

void LoadCheck::directive(std::u16string_view text) {
  restart();
  unfed_.clear();
  openBound_ = 0;
  if (text.empty()) return;
  if (!defines_) {
    defines_ = created<jespin::IVValues>();
    if (!defines_) return;  // no value lists to keep macros in: lines are read as written
    // Most names are no macro: their length tells it without a lookup.
    findMacro_ = [this, lookup = definesOf(*defines_)](std::u16string_view name) -> const ExpItems* {
      return nameLengths_ >> lengthBit(name) & 1 ? lookup(name) : nullptr;
    };
  }
  if (const std::optional<std::u16string> name = followDefine(text, *defines_))
    nameLengths_ |= uint64_t{1} << lengthBit(*name);
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

// The bound reads the line as the host will, its macros expanded; what is
// kept is the line as written, expanded again when it is fed.
bool LoadCheck::take(const ExpItems& written, Unfed unfed, ErrRecord& error, int32_t& failedLine) {
  const rt::Ref<ExpItems> macrosExpanded = expanded(written);
  if (withinBound(macrosExpanded ? *macrosExpanded : written)) {
    if (openBound_ > 0) unfed_.push_back(std::move(unfed));
    return true;
  }
  unfed.tokens = written.copy();  // the caller may reuse its own
  unfed_.push_back(std::move(unfed));
  auto refused = std::find_if(unfed_.begin(), unfed_.end(),
                              [&](const Unfed& u) { return !feed(*toFeed(u), error); });
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

bool LoadCheck::function(const ItemsColl& lines, ErrRecord& error, int32_t& failedLine) const {
  LoadCheck check;
  check.findMacro_ = findMacro_;  // this check's macros: it outlives the one made here
  for (const rt::Ref<ExpItems>& line : lines)
    if (!check.take(*line, Unfed{line, {}, line->sptModeLine}, error, failedLine)) return false;
  return true;
}

}  // namespace engine
