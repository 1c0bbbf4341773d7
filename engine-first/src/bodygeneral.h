// BodyGeneral, the first edition's line dispatcher.  It decides from the
// first token of each line what the line is: a statement or a Dim line runs
// at once, a line that opens a block statement opens its executor, which
// then takes every further line until it is over.  The host keeps one for
// its whole life, so a block stays open between its lines; blocks and
// user functions replay stored lines through a fresh one each time.
#pragma once

#include <cstdint>
#include <memory>

#include "block.h"
#include "execbody.h"

namespace dovrel {

class BodyGeneral final : public ExecBody {
 public:
  // `depth`: the block statements around the lines it takes.
  explicit BodyGeneral(int32_t depth = 0) : ExecBody(u"BodyGeneral"), depth_(depth) {}

  // Runs or routes one line; a failure is recorded under
  // "ExecBody_Execute".  Every line is one step of the budget (steps.h).
  void execute(zorbel::ScriptSpace& ss, Line& line) override;
  bool isOver() const override { return false; }

  // The statement still taking lines, or null.
  const OpenStatement* open() const { return child_.get(); }
  // The lines replayed are over: a statement still taking lines never saw
  // its closing line, which raises its statement's error (4 for an If).
  void requireClosed() const;
  // Drops it, unrun.
  void dropOpen() { child_.reset(); }

 private:
  // A line with no statement open; raises its failure.
  void execLine(zorbel::ScriptSpace& ss, Line& line);
  void openBlock(zorbel::ScriptSpace& ss, Line& line, std::unique_ptr<Block> block);
  void dimOp(zorbel::ScriptSpace& ss, Line& line);
  void exitLine(Line& line);

  const int32_t depth_;
  std::unique_ptr<OpenStatement> child_;
};

// Runs a plain statement line: its "=" settled and its tree built on its
// first run (kept on the line), then run in `ss`; the tree's failure is
// raised.
void runStatement(zorbel::ScriptSpace& ss, Line& line);

}  // namespace dovrel
