// What the compound statements share: reading the opening line and then
// every line up to the closing one, handing the lines inside to inner
// blocks, and the frame of a run.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/bodygeneral.h"
#include "core/condition.h"
#include "core/exptree.h"
#include "core/place.h"
#include "core/steps.h"
#include "core/tokenrun.h"

namespace engine {

class CompoundBody : public ExecBody {
 public:
  // The opening line first, then each later one.  A malformed line is
  // recorded under "AddCode"; an opening line that fails is read as the
  // opening line again next time.
  void addCode(ExpItems& eis) final;
  // Clears the record and runs the statement; a failure is recorded under
  // "Execute" and gives exit code 0.
  int32_t execute(zorbel::ScriptSpace& ss) final;
  bool isOver() const final { return over_; }

  // The number of the line the statement opens on, and its first keyword.
  int32_t openingLine() const { return line_; }
  int32_t opener() const { return opener_; }
  // How many compound statements enclose it, itself included.
  int32_t depth() const { return depth_; }
  // The block inside the statement that takes its next line, or null.
  virtual const BodyGeneral* receiving() const = 0;

 protected:
  // `depth`: how many compound statements enclose this one, itself included.
  CompoundBody(std::u16string_view classId, int32_t depth) : ExecBody(classId), depth_(depth) {}

  // Both may raise; the line is then recorded as malformed.
  virtual void firstLine(ExpItems& eis) = 0;
  virtual void nextLine(ExpItems& eis) = 0;
  virtual int32_t run(zorbel::ScriptSpace& ss) = 0;

  // Feeds a line inside the statement to `body`.  What the body records
  // while fed becomes this block's error, so a malformed line at any depth
  // stops the feeding.  False when it did.
  bool passOn(BodyGeneral& body, ExpItems& eis);
  // Feeds the statements that share a line with a clause (after Then, Else
  // or a Case list) to `body` as a line of their own; nothing when there
  // are none.  The first copies them; the second cuts `line` down to them
  // in place, so that statements nested on one line are passed inward
  // without a copy of the rest of the line at each level.
  bool passOn(BodyGeneral& body, std::span<const ExpItem> statements, const ExpItems& line);
  bool passOnInPlace(BodyGeneral& body, std::span<const ExpItem> statements, ExpItems& line);

  // A part of the statement ends: a block opened inside it must have been
  // closed there (error 8 under `where`, at the line that opened it).
  static void requireClosed(const BodyGeneral& body, const char16_t* where);

  // Runs `body` for its exit code; false after copying its error.  In line:
  // every pass of a loop asks it.
  bool ran(BodyGeneral& body, zorbel::ScriptSpace& ss, int32_t& code) {
    steps::take();  // every pass of a loop, an empty one too
    code = body.execute(ss);
    if (!body.error().haveErr()) return true;
    return failed(body);
  }
  // Copies the error `body` ended with; false.
  bool failed(BodyGeneral& body);
  // Evaluates `tree` in mode `rf`; false after copying its error.
  bool evaluated(expTree& tree, zorbel::ScriptSpace& ss, int32_t rf, Operand& out);
  // The truth of a condition (nothing is false); false after copying its
  // error.
  bool truth(expTree& tree, zorbel::ScriptSpace& ss, bool& out);
  [[gnu::cold, gnu::noinline]] void failedTruth(expTree& tree);

  const int32_t depth_;
  bool over_ = false;
  int32_t line_ = 0;

 private:
  bool started_ = false;
  int32_t opener_ = 0;
};

// A statement whose lines inside form one inner block, up to its closing
// keyword.  Lines that open a statement of the same kind count as nesting,
// so that their closing lines go inward.
class InnerBody : public CompoundBody {
 protected:
  InnerBody(std::u16string_view classId, int32_t depth, int32_t closer)
      : CompoundBody(classId, depth), inner_(depth), closer_(closer) {}

  void nextLine(ExpItems& eis) final;
  const BodyGeneral* receiving() const final { return &inner_; }
  virtual bool opensSame(int32_t keyword) const = 0;
  // The closing line of this statement; it may raise, and the statement is
  // over only when it does not.
  virtual void closingLine(const ExpItems&) {}

  BodyGeneral inner_;

 private:
  const int32_t closer_;
  int32_t nesting_ = 0;
};

}  // namespace engine
