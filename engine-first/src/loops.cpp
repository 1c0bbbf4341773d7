// BodyDo (Do [While|Until c] ... Loop [While|Until c]), BodyFOR (For v =
// a To b [Step s] ... Next) and BodyForEach (For Each v In c ... Next).
// Each stores the lines of its block and replays them once per pass when
// its closing line arrives.  Do and For read RunStop before each pass and
// yield after each pass but the unconditional first of a Do ... Loop
// While; For Each yields after each element.  A loop whose run the
// embedding program ends while it yields ends there, For Each too.  A Do
// absorbs its own Exit Do, the two For loops Exit For; any other Exit ends
// the loop and passes on.
#include "blockline.h"
#include "blocks.h"
#include "core/condition.h"
#include "core/blockheaders.h"
#include "core/forcounter.h"
#include "rt/convert.h"
#include "rt/enumerator.h"

namespace dovrel {

namespace {

namespace tok = engine::tok;

[[noreturn]] void badDo(const char16_t* where) { engine::raiseCode(engine::ErrDoSyntax, where); }

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
  static constexpr CacheKind kKind = CacheKind::Loop;
  CacheKind kind() const override { return kKind; }
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
      if (!yieldToHost()) return;
    }
  }

  void exited() {
    if (exitId_ == tok::Do) exitId_ = 0;
  }

  bool testAtLoop_ = false;
  LoopCondition* condition_ = nullptr;  // kept by its line:
  rt::Ref<Line> conditionLine_;         // held while the block lives
};

// A For line's pieces, kept on the line.
struct ForLine final : LineCache {
  static constexpr CacheKind kKind = CacheKind::For;
  explicit ForLine(const Line& line) : header(engine::readForHeader(line.items())) {}
  CacheKind kind() const override { return kKind; }
  const engine::ForHeader header;
};

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
    ForLine* kept = line.cached<ForLine>();
    if (!kept) kept = &line.keep(std::make_unique<ForLine>(line));
    const engine::ForHeader& h = kept->header;
    variable_ = valueOf(*h.variable, ss, zorbel::ModeValue, engine::ErrForSyntax, u"FirstLine");
    h.start->operation(ss);
    if (h.start->error().haveErr()) h.start->error().raise();
    end_ = boundOf(*h.end, ss);
    step_ = h.step ? boundOf(*h.step, ss) : 1;
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
      if (!counter.step()) engine::raiseRecorded(variable_->error());
      if (!yieldToHost()) return;
    }
  }

  rt::Ref<zorbel::ScriptValue> variable_;
  int32_t end_ = 0;
  int32_t step_ = 1;
};

// "For Each v In c", kept on the line.
struct ForEachLine final : LineCache {
  static constexpr CacheKind kKind = CacheKind::ForEach;
  explicit ForEachLine(const Line& line) : header(engine::readForEachHeader(line.items())) {}
  CacheKind kind() const override { return kKind; }
  const engine::ForEachHeader header;
};

class BodyForEach final : public Block {
 public:
  explicit BodyForEach(int32_t depth) : Block(u"BodyForEach", kForKind, depth) {}

 private:
  void firstLine(zorbel::ScriptSpace& ss, Line& line) override {
    ForEachLine* kept = line.cached<ForEachLine>();
    if (!kept) kept = &line.keep(std::make_unique<ForEachLine>(line));
    const engine::ForEachHeader& h = kept->header;
    variable_ = valueOf(*h.variable, ss, zorbel::ModeValue, engine::ErrForSyntax, u"FirstLine");
    collection_ =
        valueOf(*h.collection, ss, zorbel::ModeObject, engine::ErrForSyntax, u"FirstLine");
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
      if (variable_->hasError()) engine::raiseRecorded(variable_->error());
      if (!runBody(ss, lines_)) {
        endsFor(exitId_);
        return;
      }
      if (!yieldToHost()) return;
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
