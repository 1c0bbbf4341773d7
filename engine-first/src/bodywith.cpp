// BodyWITH: With value ... End With.  The value of the With expression is
// taken as the line arrives, and is the top of the With stack (which
// member access reads for ".name") while the block's lines run at its End
// With; the stack is left as it was found however the run ends.
#include "blockline.h"
#include "blocks.h"
#include "core/blockheaders.h"

namespace dovrel {

namespace {

namespace tok = engine::tok;

const BlockKind kWithKind{
    tok::With, tok::EndWith, engine::ErrGrammar,
    [](const Line& line) { return line.first() == tok::With; },
    [](const Line& line) { return balance(line, tok::With, tok::With, tok::EndWith); }};

struct WithHeader final : LineCache {
  static constexpr CacheKind kKind = CacheKind::With;
  explicit WithHeader(const Line& line) : value(engine::readWithValue(line.items())) {}
  CacheKind kind() const override { return kKind; }
  const std::unique_ptr<engine::expTree> value;
};

// Takes the With stack back to `depth` entries.
class WithEntry {
 public:
  WithEntry(jespin::IVStack& with, zorbel::ScriptValue* value) : with_(with), depth_(with.count()) {
    with_.push(rt::Variant(static_cast<rt::Object*>(value)));
  }
  // A destructor must not throw: a listener that raises while the stack is
  // let down (perhaps while a failure unwinds) is treated as one that refused.
  ~WithEntry() {
    try {
      while (with_.count() > depth_)
        if (!with_.pop()) break;  // a listener refused
    } catch (...) {
    }
  }
  WithEntry(const WithEntry&) = delete;
  WithEntry& operator=(const WithEntry&) = delete;

 private:
  jespin::IVStack& with_;
  int32_t depth_;
};

class BodyWITH final : public Block {
 public:
  explicit BodyWITH(int32_t depth) : Block(u"BodyWith", kWithKind, depth) {}

 private:
  // Any value will do, a plain one too: the expression is evaluated for a
  // value, not for an object.
  void firstLine(zorbel::ScriptSpace& ss, Line& line) override {
    WithHeader* h = line.cached<WithHeader>();
    if (!h) h = &line.keep(std::make_unique<WithHeader>(line));
    value_ = valueOf(*h->value, ss, zorbel::ModeValue, engine::ErrGrammar, u"FirstLine");
  }

  void nextLine(zorbel::ScriptSpace& ss, Line& line) override {
    if (!gathered(line)) return;
    rt::Ref<jespin::IVStack> with = ss.withStack();
    if (!with) rt::raise(rt::err::ObjectNotSet);
    WithEntry entry(*with, value_.get());
    runBody(ss, lines_);  // an Exit passes on
  }

  rt::Ref<zorbel::ScriptValue> value_;
};

}  // namespace

std::unique_ptr<Block> newWith(int32_t depth) { return std::make_unique<BodyWITH>(depth); }

}  // namespace dovrel
