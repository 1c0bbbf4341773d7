// BodyIF (If ... Then, ElseIf, Else, End If, and the one-line If) and
// BodySELECT (Select Case, Case, Case Else, End Select).  Neither runs a
// line as it arrives, but for the statements of a one-line If: each stores
// the lines of the one branch or arm that is to run and replays them once
// it is complete.  Conditions are evaluated as their lines arrive, so every
// condition up to the chosen one is evaluated before any statement of the
// chosen branch runs.
#include <algorithm>

#include "blockline.h"
#include "blocks.h"
#include "bodygeneral.h"
#include "core/condition.h"
#include "core/createtree.h"
#include "core/blockdepth.h"
#include "rt/ops.h"
#include "rt/stack.h"

namespace dovrel {

namespace {

namespace tok = engine::tok;
using engine::ExpItem;

[[noreturn]] void badIf(const char16_t* where) { engine::raiseCode(engine::ErrIfSyntax, where); }
[[noreturn]] void badSelect(const char16_t* where) {
  engine::raiseCode(engine::ErrSelectSyntax, where);
}

// The position (0-based) of the first Then of `tokens`, or npos.
size_t thenAt(std::span<const ExpItem> tokens) {
  for (size_t i = 0; i < tokens.size(); ++i)
    if (tokens[i].iType == tok::Then) return i;
  return std::span<const ExpItem>::extent;
}

// A one-line If: statements follow its Then.
bool isSingleLineIf(const Line& line) {
  std::span<const ExpItem> all = engine::tokensFrom(line.items(), 1);
  const size_t then = thenAt(all);
  return then < all.size() && !statements(all.subspan(then + 1)).empty();
}

const BlockKind kIfKind{
    tok::If, tok::EndIf, engine::ErrIfSyntax,
    [](const Line& line) { return line.first() == tok::If && !isSingleLineIf(line); },
    [](const Line& line) { return line.first() == tok::If && !isSingleLineIf(line) ? 1 : 0; }};

const BlockKind kSelectKind{
    tok::Select, tok::EndSelect, engine::ErrSelectSyntax,
    [](const Line& line) { return line.first() == tok::Select; },
    [](const Line& line) { return balance(line, tok::Select, tok::Select, tok::EndSelect); }};

// A part of a one-line If: the statements after Then, or after its Else.
// A part that is itself a one-line If is read from the line when it first
// runs, a level at a time, and kept: a line of nested Ifs takes memory in
// proportion to its length, and what never runs is never looked at.
struct IfHeader;
struct IfPart {
  std::span<const ExpItem> nestedIf;  // the tokens after the If of a nested one-line If
  std::unique_ptr<IfHeader> nested;   // ... once read
  rt::Ref<Line> statements;           // else a line of their own; null for none
};

// What an If line holds: its condition, and for the one-line form its two
// parts.
struct IfHeader final : LineCache {
  static constexpr int kKind = 10;
  int kind() const override { return kKind; }
  std::unique_ptr<engine::expTree> condition;
  bool singleLine = false;
  IfPart then;
  IfPart otherwise;
};

// The Else of a one-line If's statements: the first Else (or "Else If",
// which the tokenizer makes one ElseIf) that no If nested on the line has
// taken.  npos when there is none.
size_t ownElseAt(std::span<const ExpItem> tail) {
  int32_t nested = 0;  // one-line Ifs after Then still without their Else
  for (size_t i = 0; i < tail.size(); ++i) {
    const int32_t t = tail[i].iType;
    if (t == tok::If) {
      ++nested;
    } else if (t == tok::Else || t == tok::ElseIf) {
      if (nested == 0) return i;
      if (t == tok::Else) --nested;  // an ElseIf closes one If and opens another
    }
  }
  return std::span<const ExpItem>::extent;
}

IfPart partFrom(std::span<const ExpItem> tokens, const Line& line) {
  IfPart part;
  if (!tokens.empty() && tokens.front().iType == tok::If) part.nestedIf = tokens.subspan(1);
  else part.statements = partOf(tokens, line);
  return part;
}

// The tokens after an If, of `line`: "c Then", or "c Then s [Else s]".
std::unique_ptr<IfHeader> readIf(std::span<const ExpItem> afterIf, const Line& line) {
  const size_t then = thenAt(afterIf);
  if (then == std::span<const ExpItem>::extent) badIf(u"FirstLine");
  auto h = std::make_unique<IfHeader>();
  h->condition = engine::conditionTree(afterIf.first(then));
  std::span<const ExpItem> tail = statements(afterIf.subspan(then + 1));
  if (tail.empty()) return h;  // the block form
  h->singleLine = true;
  const size_t otherwise = ownElseAt(tail);
  h->then = partFrom(tail.first(std::min(otherwise, tail.size())), line);
  if (otherwise == std::span<const ExpItem>::extent) return h;
  if (tail[otherwise].iType == tok::ElseIf)  // "Else If c Then s": the Else part is an If
    h->otherwise.nestedIf = tail.subspan(otherwise + 1);
  else
    h->otherwise = partFrom(statements(tail.subspan(otherwise + 1)), line);
  return h;
}

// What an ElseIf line holds.
struct ElseIfHeader final : LineCache {
  static constexpr int kKind = 11;
  int kind() const override { return kKind; }
  std::unique_ptr<engine::expTree> condition;
  bool hasThen = false;
  bool tailEmpty = true;
};

std::unique_ptr<ElseIfHeader> readElseIf(const Line& line) {
  auto h = std::make_unique<ElseIfHeader>();
  std::span<const ExpItem> all = engine::tokensFrom(line.items(), 2);
  const size_t then = thenAt(all);
  h->hasThen = then != std::span<const ExpItem>::extent;
  if (!h->hasThen) return h;
  h->condition = engine::conditionTree(all.first(then));
  h->tailEmpty = statements(all.subspan(then + 1)).empty();
  return h;
}

// The statements that share a line with Else or Case Else: the first line
// of that part.
struct PartRest final : LineCache {
  static constexpr int kKind = 12;
  int kind() const override { return kKind; }
  rt::Ref<Line> rest;
};

rt::Ref<Line> restOf(Line& line, int32_t from) {
  PartRest* c = line.cached<PartRest>();
  if (!c) {
    auto made = std::make_unique<PartRest>();
    made->rest = partOf(statementsFrom(line, from), line);
    c = &line.keep(std::move(made));
  }
  return c->rest;
}

class BodyIF final : public Block {
 public:
  explicit BodyIF(int32_t depth) : Block(u"BodyIF", kIfKind, depth) {}

 private:
  enum State { Then = 2, Otherwise = 3 };

  void firstLine(zorbel::ScriptSpace& ss, Line& line) override {
    IfHeader* h = line.cached<IfHeader>();
    if (!h) h = &line.keep(readIf(engine::tokensFrom(line.items(), 2), line));
    taken_ = truthOf(*h->condition, ss);
    state_ = Then;
    if (!h->singleLine) return;  // the block form: nothing runs yet
    over_ = true;
    runPart(ss, taken_ ? h->then : h->otherwise, depth_, line);
  }

  // The statements of a one-line If run as one line of a fresh dispatcher;
  // a nested one-line If is decided here, one block deeper.  A block
  // statement among them never sees its closing line: an error.
  void runPart(zorbel::ScriptSpace& ss, IfPart& part, int32_t depth, const Line& line) {
    if (!part.nestedIf.empty()) {
      engine::requireBlockDepth(depth + 1);
      rt::stack::check();
      if (!part.nested) part.nested = readIf(part.nestedIf, line);
      IfHeader& nested = *part.nested;
      if (!nested.singleLine) badIf(u"FirstLine");
      const bool taken = truthOf(*nested.condition, ss);
      return runPart(ss, taken ? nested.then : nested.otherwise, depth + 1, line);
    }
    if (!part.statements) return;
    BodyGeneral body(depth);
    body.execute(ss, *part.statements);
    if (body.error().haveErr()) {
      jespin::IErrInfo& e = body.error().info();
      rt::raiseWith(e.number(), e.description(), u"ExecLine\r\n" + e.source());
    }
    if (body.isExit()) exitId_ = body.exitId();
    else body.requireClosed();
  }

  void nextLine(zorbel::ScriptSpace& ss, Line& line) override {
    if (closes(line)) {
      Lines branch = std::move(lines_);
      lines_.clear();
      runBody(ss, branch);
      return;
    }
    if (nesting_ == 0 && line.first() == tok::ElseIf) return elseIfLine(ss, line);
    if (nesting_ == 0 && line.first() == tok::Else) return elseLine(line);
    store(line);
  }

  void elseIfLine(zorbel::ScriptSpace& ss, Line& line) {
    if (taken_) {  // a branch was chosen: this condition is never evaluated
      state_ = Otherwise;
      return;
    }
    ElseIfHeader* h = line.cached<ElseIfHeader>();
    if (!h) h = &line.keep(readElseIf(line));
    if (state_ != Then || !h->hasThen) badIf(u"ElseIfLine");
    taken_ = truthOf(*h->condition, ss);
    if (!h->tailEmpty) badIf(u"ElseIfLine");
  }

  void elseLine(Line& line) {
    if (sawElse_) badIf(u"NextLine");
    sawElse_ = true;
    state_ = Otherwise;
    if (rt::Ref<Line> rest = restOf(line, 2)) store(*rest);
  }

  // The lines of the branch to run: those of a section whose condition was
  // true, or those of the Else part when none was.
  void store(Line& line) {
    if ((state_ == Then) == taken_) lines_.push_back(rt::Ref<Line>(&line));
  }

  State state_ = Then;
  bool taken_ = false;
  bool sawElse_ = false;
};

// What a Select line and a Case line hold.
struct SelectHeader final : LineCache {
  static constexpr int kKind = 13;
  int kind() const override { return kKind; }
  std::unique_ptr<engine::expTree> selector;
};

struct CaseHeader final : LineCache {
  static constexpr int kKind = 14;
  int kind() const override { return kKind; }
  bool isElse = false;
  std::unique_ptr<engine::expTree> values;
};

// Text mode: letter case aside, numbers by value.  A Null on either side
// fails unless `inList`: an element of a list that meets a Null does not
// match.
bool sameValue(const rt::Variant& a, const rt::Variant& b, bool inList) {
  const rt::Cmp c = rt::compare(a, b, rt::CompareMode::Text);
  if (c == rt::Cmp::Null) {
    if (inList) return false;
    rt::raise(rt::err::InvalidUseOfNull);
  }
  return c == rt::Cmp::Equal;
}

class BodySELECT final : public Block {
 public:
  explicit BodySELECT(int32_t depth) : Block(u"BodySelect", kSelectKind, depth) {}

 private:
  void firstLine(zorbel::ScriptSpace& ss, Line& line) override {
    const engine::ExpItems& eis = line.items();
    if (eis.count() <= 2 || eis.item(2).iType != tok::Case) badSelect(u"FirstLine");
    SelectHeader* h = line.cached<SelectHeader>();
    if (!h) {
      auto made = std::make_unique<SelectHeader>();
      made->selector = engine::mkTree(engine::tokensFrom(eis, 3));
      h = &line.keep(std::move(made));
    }
    selector_ = valueOf(*h->selector, ss, zorbel::ModeValue, engine::ErrSelectSyntax, u"FirstLine")
                    ->value();
  }

  void nextLine(zorbel::ScriptSpace& ss, Line& line) override {
    const int32_t t = line.first();
    // Nothing stands between Select Case and its first Case.
    if (!sawCase_ && t != tok::Case && t != tok::EndSelect) badSelect(u"NextLine");
    if (closes(line)) {
      if (collecting_) runArm(ss);
      done_ = true;
      return;
    }
    if (nesting_ == 0 && t == tok::Case) return caseLine(ss, line);
    if (collecting_) lines_.push_back(rt::Ref<Line>(&line));
  }

  void caseLine(zorbel::ScriptSpace& ss, Line& line) {
    const engine::ExpItems& eis = line.items();
    if (eis.count() < 2) badSelect(u"NextLine");
    sawCase_ = true;
    if (collecting_ && !runArm(ss)) return;  // an Exit ended the statement
    CaseHeader* h = line.cached<CaseHeader>();
    if (!h) {
      auto made = std::make_unique<CaseHeader>();
      made->isElse = eis.item(2).iType == tok::Else;
      if (!made->isElse) made->values = engine::mkTree(engine::tokensFrom(eis, 2));
      h = &line.keep(std::move(made));
    }
    if (h->isElse) {
      collecting_ = !done_;
      if (rt::Ref<Line> rest = restOf(line, 3); rest && collecting_) lines_.push_back(rest);
      return;
    }
    if (done_) return;  // an arm ran: no later Case is looked at
    rt::Ref<zorbel::ScriptValue> v =
        valueOf(*h->values, ss, zorbel::ModeValue, engine::ErrSelectSyntax, u"NextLine");
    collecting_ = matches(*v);
  }

  bool matches(zorbel::ScriptValue& v) {
    if (!(v.flag() & zorbel::FlagList)) return sameValue(v.value(), selector_, false);
    const int32_t n = v.count();
    for (int32_t i = 1; i <= n; ++i) {
      rt::Ref<zorbel::ScriptValue> item = v.subs(rt::Variant(i), zorbel::ModeValue);
      if (item && sameValue(item->value(), selector_, true)) return true;
    }
    return false;
  }

  // At most one arm runs, once: false when an Exit ended it.
  bool runArm(zorbel::ScriptSpace& ss) {
    Lines arm = std::move(lines_);
    lines_.clear();
    collecting_ = false;
    done_ = true;
    return runBody(ss, arm);
  }

  rt::Variant selector_;
  bool collecting_ = false;  // the arm being taken is the one to run
  bool done_ = false;        // an arm has run, or was chosen
  bool sawCase_ = false;
};

}  // namespace

std::unique_ptr<Block> newIf(int32_t depth) { return std::make_unique<BodyIF>(depth); }
std::unique_ptr<Block> newSelect(int32_t depth) { return std::make_unique<BodySELECT>(depth); }

}  // namespace dovrel
