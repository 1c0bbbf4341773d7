// BodyDo (Do [While|Until c] ... Loop [While|Until c]), BodyFOR (For v =
// a To b [Step s] ... Next) and BodyForEach (For Each v In c ... Next).
// Each stores the lines of its block and replays them once per pass when
// its closing line arrives.  Do and For read RunStop before each pass and
// yield after each pass but the unconditional first of a Do ... Loop
// While; For Each yields after each element.  A Do absorbs its own Exit
// Do, the two For loops Exit For; any other Exit ends the loop and passes
// on.
#include "blockline.h"
#include "blocks.h"
#include "core/condition.h"
#include "core/createtree.h"
#include "core/forcounter.h"
#include "rt/convert.h"
#include "rt/enumerator.h"

namespace dovrel {

namespace {

namespace tok = engine::tok;
using engine::ExpItem;
using engine::TokenRun;

[[noreturn]] void badDo(const char16_t* where) { engine::raiseCode(engine::ErrDoSyntax, where); }
[[noreturn]] void badFor() { engine::raiseCode(engine::ErrForSyntax, u"FirstLine"); }

const BlockKind kDoKind{
    tok::Do, tok::Loop, engine::ErrDoSyntax,
    [](const Line& line) { return line.first() == tok::Do; },
    [](const Line& line) { return balance(line, tok::Do, tok::Do, tok::Loop); }};

const BlockKind kForKind{
    tok::For, tok::Next, engine::ErrForSyntax,
    [](const Line& line) { return line.first() == tok::For || line.first() == tok::ForEach; },
    [](const Line& line) { return balance(line, tok::For, tok::ForEach, tok::Next); }};

// The condition of a Do or Loop line: "While c" or "Until c" from its
// second token on, in which a plain "=" compares.
struct LoopCondition final : LineCache {
  static constexpr int kKind = 20;
  int kind() const override { return kKind; }
  std::unique_ptr<engine::expTree> tree;  // none: a Do line alone
  bool until = false;
};

// Null when the line has no condition in that form.
std::unique_ptr<LoopCondition> readCondition(const Line& line) {
  const engine::ExpItems& eis = line.items();
  if (eis.count() < 3) return nullptr;
  const int32_t kind = eis.item(2).iType;
  if (kind != tok::While && kind != tok::Until) return nullptr;
  auto c = std::make_unique<LoopCondition>();
  c->until = kind == tok::Until;
  c->tree = engine::conditionTree(engine::tokensFrom(eis, 3));
  return c;
}

LoopCondition& conditionOf(Line& line, const char16_t* where) {
  if (LoopCondition* c = line.cached<LoopCondition>()) return *c;
  std::unique_ptr<LoopCondition> c = readCondition(line);
  if (!c) badDo(where);
  return line.keep(std::move(c));
}

class BodyDo final : public Block {
 public:
  explicit BodyDo(int32_t depth) : Block(u"BodyDo", kDoKind, depth) {}

 private:
  void firstLine(zorbel::ScriptSpace&, Line& line) override {
    testAtLoop_ = line.items().count() == 1;
    if (!testAtLoop_) takeCondition(line, u"FirstLine");
  }

  // A Do line with a condition ignores what follows its Loop.
  void nextLine(zorbel::ScriptSpace& ss, Line& line) override {
    if (!gathered(line)) return;
    if (testAtLoop_) takeCondition(line, u"NextLine");
    runLoop(ss);
  }

  void takeCondition(Line& line, const char16_t* where) {
    condition_ = &conditionOf(line, where);
    conditionLine_ = &line;
  }

  void runLoop(zorbel::ScriptSpace& ss) {
    if (testAtLoop_ && !runBody(ss, lines_)) return exited();
    for (;;) {
      if (ss.runStop()) return;
      if (truthOf(*condition_->tree, ss) == condition_->until) return;
      if (!runBody(ss, lines_)) return exited();
      yieldToHost();
    }
  }

  void exited() {
    if (exitId_ == tok::Do) exitId_ = 0;
  }

  bool testAtLoop_ = false;
  LoopCondition* condition_ = nullptr;  // kept by its line:
  rt::Ref<Line> conditionLine_;         // held while the block lives
};

// A For line's pieces: the variable, the assignment of the start value to
// it, the end and the step (none: 1).
struct ForHeader final : LineCache {
  static constexpr int kKind = 21;
  int kind() const override { return kKind; }
  std::unique_ptr<engine::expTree> variable;
  std::unique_ptr<engine::expTree> start;
  std::unique_ptr<engine::expTree> end;
  std::unique_ptr<engine::expTree> step;
};

// "For v = a To b [Step s]": the first "=" (or ":=") ends the variable and
// turns the piece into the assignment "v := a"; any later "=" compares.
// Every piece must be there.
std::unique_ptr<ForHeader> readFor(const Line& line) {
  auto h = std::make_unique<ForHeader>();
  enum { Start, End, Step } part = Start;
  TokenRun tokens;
  size_t piece = 0;  // where the current piece begins in `tokens`
  for (const ExpItem& ei : engine::tokensFrom(line.items(), 2)) {
    const int32_t t = ei.iType;
    if ((t == tok::Equals || t == tok::Assign) && part == Start && !h->variable) {
      if (tokens.empty()) badFor();
      h->variable = engine::mkTree(tokens);
      tokens.push_back(ExpItem{tok::Assign, ei.iValue});
      piece = tokens.size();
    } else if (t == tok::To) {
      if (part != Start || !h->variable || tokens.size() == piece) badFor();
      h->start = engine::mkTree(tokens);
      tokens.clear();
      piece = 0;
      part = End;
    } else if (t == tok::Step) {
      if (part != End || tokens.empty()) badFor();
      h->end = engine::mkTree(tokens);
      tokens.clear();
      part = Step;
    } else if (t == tok::Each || t == tok::In) {
      badFor();  // For Each split by something between its words
    } else if (t != tok::Blank || tokens.size() > piece) {
      tokens.push_back(ei);
      if (t == tok::Equals) tokens.back().iType = tok::EqualEqual;
    }
  }
  if (part == Start || tokens.empty()) badFor();
  (part == End ? h->end : h->step) = engine::mkTree(tokens);
  return h;
}

// A bound as a whole number, a half to the even neighbour.
int32_t boundOf(engine::expTree& tree, zorbel::ScriptSpace& ss) {
  return rt::toLong(valueOf(tree, ss, zorbel::ModeValue, engine::ErrForSyntax, u"FirstLine")->value());
}

// A For loop absorbs its own Exit For.
void endsFor(int32_t& exitId) {
  if (exitId == tok::For) exitId = 0;
}

class BodyFOR final : public Block {
 public:
  explicit BodyFOR(int32_t depth) : Block(u"BodyFOR", kForKind, depth) {}

 private:
  // The variable is found and given its start value, then the end and the
  // step are evaluated, once, as the line arrives.
  void firstLine(zorbel::ScriptSpace& ss, Line& line) override {
    ForHeader* h = line.cached<ForHeader>();
    if (!h) h = &line.keep(readFor(line));
    variable_ = valueOf(*h->variable, ss, zorbel::ModeValue, engine::ErrForSyntax, u"FirstLine");
    h->start->operation(ss);
    if (h->start->error().haveErr()) h->start->error().raise();
    end_ = boundOf(*h->end, ss);
    step_ = h->step ? boundOf(*h->step, ss) : 1;
  }

  void nextLine(zorbel::ScriptSpace& ss, Line& line) override {
    if (gathered(line)) runLoop(ss);
  }

  void runLoop(zorbel::ScriptSpace& ss) {
    engine::ForCounter counter(*variable_, end_, step_);
    for (;;) {
      if (counter.pastEnd() || ss.runStop()) return;
      if (!runBody(ss, lines_)) {
        endsFor(exitId_);
        return;
      }
      if (!counter.step()) raiseRecorded(variable_->error());
      yieldToHost();
    }
  }

  rt::Ref<zorbel::ScriptValue> variable_;
  int32_t end_ = 0;
  int32_t step_ = 1;
};

struct ForEachHeader final : LineCache {
  static constexpr int kKind = 22;
  int kind() const override { return kKind; }
  std::unique_ptr<engine::expTree> variable;
  std::unique_ptr<engine::expTree> collection;
};

// "For Each v In c".
std::unique_ptr<ForEachHeader> readForEach(const Line& line) {
  auto h = std::make_unique<ForEachHeader>();
  TokenRun tokens;
  for (const ExpItem& ei : engine::tokensFrom(line.items(), 2)) {
    if (ei.iType == tok::In) {
      if (h->variable || tokens.empty()) badFor();
      h->variable = engine::mkTree(tokens);
      tokens.clear();
    } else {
      engine::appendToken(tokens, ei);
    }
  }
  if (!h->variable || tokens.empty()) badFor();
  h->collection = engine::mkTree(tokens);
  return h;
}

class BodyForEach final : public Block {
 public:
  explicit BodyForEach(int32_t depth) : Block(u"BodyForEach", kForKind, depth) {}

 private:
  void firstLine(zorbel::ScriptSpace& ss, Line& line) override {
    ForEachHeader* h = line.cached<ForEachHeader>();
    if (!h) h = &line.keep(readForEach(line));
    variable_ = valueOf(*h->variable, ss, zorbel::ModeValue, engine::ErrForSyntax, u"FirstLine");
    collection_ =
        valueOf(*h->collection, ss, zorbel::ModeObject, engine::ErrForSyntax, u"FirstLine");
  }

  void nextLine(zorbel::ScriptSpace& ss, Line& line) override {
    if (gathered(line)) runLoop(ss);
  }

  // An object element is bound to the variable, any other assigned.
  void runLoop(zorbel::ScriptSpace& ss) {
    const rt::Variant c = collection_->value();
    if (!c.isObject()) rt::raise(rt::err::ObjectRequired);
    rt::Ref<rt::Enumerator> items = rt::enumeratorOf(c.object());
    rt::Variant item;
    while (items->next(item)) {
      if (item.isObject()) variable_->setValue(item);
      else variable_->letValue(item);
      if (variable_->hasError()) raiseRecorded(variable_->error());
      if (!runBody(ss, lines_)) {
        endsFor(exitId_);
        return;
      }
      yieldToHost();
    }
  }

  rt::Ref<zorbel::ScriptValue> variable_;
  rt::Ref<zorbel::ScriptValue> collection_;
};

}  // namespace

std::unique_ptr<Block> newDo(int32_t depth) { return std::make_unique<BodyDo>(depth); }
std::unique_ptr<Block> newFor(int32_t depth) { return std::make_unique<BodyFOR>(depth); }
std::unique_ptr<Block> newForEach(int32_t depth) { return std::make_unique<BodyForEach>(depth); }

}  // namespace dovrel
