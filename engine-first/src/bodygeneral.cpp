#include "bodygeneral.h"

#include <new>

#include "blocks.h"
#include "core/blockdepth.h"
#include "core/createtree.h"
#include "core/dimdecls.h"
#include "core/libname.h"
#include "core/retype.h"
#include "core/steps.h"
#include "runend.h"

namespace dovrel {

namespace {

using engine::tok::isKeyword;
namespace tok = engine::tok;

constexpr std::u16string_view kExecute = u"ExecBody_Execute";

// The tree of a statement line, worked out on its first run.
struct StatementCache final : LineCache {
  static constexpr CacheKind kKind = CacheKind::Statement;
  CacheKind kind() const override { return kKind; }
  std::unique_ptr<engine::expTree> tree;
};

bool opensBlock(int32_t code) {
  return code == tok::Do || code == tok::For || code == tok::ForEach || code == tok::If ||
         code == tok::Select || code == tok::With;
}

bool isExitTarget(int32_t code) {
  return code == tok::Do || code == tok::For || code == tok::Function || code == tok::Sub;
}

// The lines of a statement whose opening line failed, passed over up to its
// closing line, so that none of them runs as a line of its own.
class SkippedBlock final : public OpenStatement {
 public:
  SkippedBlock(const BlockKind& kind, const Line& opening, int32_t open)
      : OpenStatement(u"BodyGeneral", kind, &opening), open_(open) {}

  void execute(zorbel::ScriptSpace&, Line& line) override {
    if (line.first() == kind_.closer) --open_;
    else if (kind_.opens(line)) ++open_;
  }
  bool isOver() const override { return open_ <= 0; }

 private:
  int32_t open_;
};

}  // namespace

void runStatement(zorbel::ScriptSpace& ss, Line& line) {
  StatementCache* c = line.cached<StatementCache>();
  if (!c) {
    auto made = std::make_unique<StatementCache>();
    engine::retypeAssignments(line.items());
    made->tree = engine::mkTree(line.items());
    c = &line.keep(std::move(made));
  }
  engine::expTree& tree = *c->tree;
  tree.operation(ss);
  if (tree.error().haveErr()) tree.error().raise();
}

void BodyGeneral::requireClosed() const {
  if (!child_) return;
  const int32_t code = child_->kind().syntaxError;
  rt::raiseWith(engine::errNumber(code),
                engine::resText(code) + u"：" + engine::missingCloser(child_->opener(), child_->openingLine()),
                u"RunBody");
}

void BodyGeneral::execute(zorbel::ScriptSpace& ss, Line& line) {
  error_.clear();
  if (runEnded()) return;  // nothing more of a run the embedding program ended
  try {
    engine::steps::take();
    if (!child_) {
      execLine(ss, line);
      return;
    }
    child_->execute(ss, line);
    if (child_->error().haveErr()) {
      error_.copy(child_->error(), kExecute);
      // A statement whose closing line has been handled is over, however
      // its run ended: it never takes the lines after it.
      if (child_->isOver()) child_.reset();
    } else if (child_->isExit()) {
      exitId_ = child_->exitId();
      child_.reset();
    } else if (child_->isOver()) {
      child_.reset();
    }
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, kExecute);
  } catch (const std::bad_alloc&) {
    error_.trapOutOfMemory(kExecute);
  }
}

void BodyGeneral::execLine(zorbel::ScriptSpace& ss, Line& line) {
  try {
    if (line.empty()) return;
    const int32_t t = line.first();
    if (!isKeyword(t) || t == tok::Set) return runStatement(ss, line);
    if (opensBlock(t)) return openBlock(ss, line, newBlock(t, depth_ + 1));
    switch (t) {
      case tok::Public:
      case tok::Private: return;  // accepted, and nothing to do
      case tok::Dim: return dimOp(ss, line);
      case tok::Exit: return exitLine(line);
      default: engine::raiseCode(engine::ErrSyntax, u"ExecLine");
    }
  } catch (const rt::RuntimeError& e) {
    rt::raiseWith(e.number(), e.description(),
                  engine::qualifiedSource(u"BodyGeneral.ExecLine") + u"\r\n" + e.source());
  }
}

// The opening line goes to the new block at once.  When it fails, the
// lines up to the statement's closing line are passed over, so that a
// caller that goes on never runs them as lines of their own.
void BodyGeneral::openBlock(zorbel::ScriptSpace& ss, Line& line, std::unique_ptr<Block> block) {
  block->execute(ss, line);
  if (block->error().haveErr()) {
    if (int32_t open = block->kind().leftOpen(line); open > 0)
      child_ = std::make_unique<SkippedBlock>(block->kind(), line, open);
    jespin::IErrInfo& e = block->error().info();
    rt::raiseWith(e.number(), e.description(), u"ExecLine\r\n" + e.source());
  }
  if (block->isExit()) exitId_ = block->exitId();
  else if (!block->isOver()) child_ = std::move(block);
}

void BodyGeneral::exitLine(Line& line) {
  const engine::ExpItems& eis = line.items();
  const int32_t target = eis.count() < 2 ? 0 : eis.item(2).iType;
  if (!isExitTarget(target)) engine::raiseCode(engine::ErrExit, u"ExecLine");
  exitId_ = target;
}

// Each name with As takes effect at once, in the space given.
void BodyGeneral::dimOp(zorbel::ScriptSpace& ss, Line& line) {
  auto declare = [&ss](const std::u16string& name, const std::u16string& type) {
    ss.newValue(name, type);
    jespin::IErrInfo& e = ss.error();
    if (e.haveErr())
      rt::raiseWith(e.number(), e.description(),
                    engine::qualifiedSource(u"BodyGeneral.DimOp") + u"\r\n" + e.source());
  };
  engine::readDimDeclarations(line.items(), declare);
}

}  // namespace dovrel
