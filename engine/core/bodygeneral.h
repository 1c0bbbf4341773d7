// BodyGeneral: the sequence block.  Hosts and user functions feed it line by
// line; it opens a child block for each statement by the line's first token
// (runs of plain statements share one BodySerial, runs of Dim lines one
// BodyDim) and hands a compound statement's lines to that statement's
// block until it is over.  Compound blocks hold a BodyGeneral of their own
// for the lines inside them, so blocks nest to any depth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/execbody.h"

namespace engine {

class CompoundBody;

class BodyGeneral final : public ExecBody {
 public:
  // `depth`: how many compound statements enclose the lines it takes.
  explicit BodyGeneral(int32_t depth = 0) : ExecBody(u"BodyGeneral"), depth_(depth) {}

  // Errors never leave the call; the first one stays in error() until
  // execute clears it.  Block statements that share a line with others
  // are taken one by one (linesplit.h).
  void addCode(ExpItems& eis) override;
  // Runs the children in order; stops at an error or an exit code.
  int32_t execute(zorbel::ScriptSpace& ss) override;
  bool isOver() const override { return false; }

  // The last statement block opened has not seen its closing line.
  bool hasOpenBlock() const;
  // The innermost block statement among the lines taken that has not seen
  // its closing line, or null.
  const CompoundBody* unclosed() const;

  size_t childCount() const { return children_.size(); }
  ExecBody& child(size_t i) { return *children_.at(i); }

 private:
  // Opens the child for a line, or keeps the open one for a further line
  // of the same kind.
  void newBody(const ExpItems& eis);
  void openChild(std::unique_ptr<ExecBody> b);
  // Routes one statement line.
  void addLine(ExpItems& eis);

  const int32_t depth_;
  std::vector<std::unique_ptr<ExecBody>> children_;
  ExecBody* open_ = nullptr;
};

}  // namespace engine
