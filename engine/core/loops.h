// The loops (Do, For, For Each) and With.  Each compiles its header once,
// while the lines are fed in, and runs its inner block as often as the
// statement says.  A loop absorbs the exit code of its own kind (Exit Do,
// Exit For) and passes any other outward; Do and For read the space's
// RunStop before each pass, which ends the loop, not the run.
#pragma once

#include <cstdint>
#include <memory>

#include "core/blockheaders.h"
#include "core/compoundbody.h"

namespace engine {

// Do While|Until c ... Loop, and Do ... Loop While|Until c.
class BodyDo final : public InnerBody {
 public:
  explicit BodyDo(int32_t depth) : InnerBody(u"BodyDo", depth, tok::Loop) {}

 private:
  void firstLine(ExpItems& eis) override;
  void closingLine(const ExpItems& eis) override;
  bool opensSame(int32_t keyword) const override { return keyword == tok::Do; }
  int32_t run(zorbel::ScriptSpace& ss) override;
  // Takes "While c" or "Until c" from position 2 of a Do or Loop line.
  void readCondition(const ExpItems& eis, const char16_t* where);

  std::unique_ptr<expTree> condition_;
  int32_t conditionLine_ = 0;  // of the Do or the Loop line
  bool until_ = false;
  bool testAtEnd_ = false;
};

// For and For Each: one Next closes either kind.
class ForLoop : public InnerBody {
 protected:
  ForLoop(std::u16string_view classId, int32_t depth) : InnerBody(classId, depth, tok::Next) {}
  bool opensSame(int32_t keyword) const final {
    return keyword == tok::For || keyword == tok::ForEach;
  }
  // Ends a pass: true when the loop goes on, else `result` is what the
  // loop returns.
  static bool goesOn(int32_t code, int32_t& result);
};

// For v = start To end [Step step] ... Next.  End and step are evaluated
// once and rounded to whole numbers; the variable ends one step beyond the
// last pass.
class BodyFOR final : public ForLoop {
 public:
  explicit BodyFOR(int32_t depth) : ForLoop(u"BodyFOR", depth) {}

 private:
  void firstLine(ExpItems& eis) override;
  int32_t run(zorbel::ScriptSpace& ss) override;
  // A bound evaluated once, as a whole number.
  bool bound(expTree& tree, zorbel::ScriptSpace& ss, int32_t& out);

  ForHeader header_;
};

// For Each v In collection ... Next: collections, value lists and
// automation objects, through their enumerators.  An object element is
// bound to the variable, any other assigned.
class BodyForEach final : public ForLoop {
 public:
  explicit BodyForEach(int32_t depth) : ForLoop(u"BodyForEach", depth) {}

 private:
  void firstLine(ExpItems& eis) override;
  int32_t run(zorbel::ScriptSpace& ss) override;

  ForEachHeader header_;
};

// With object ... EndWith: ".name" inside works on the object.  The With
// stack is left as it was found however the block ends.
class BodyWITH final : public InnerBody {
 public:
  explicit BodyWITH(int32_t depth) : InnerBody(u"BodyWith", depth, tok::EndWith) {}

 private:
  void firstLine(ExpItems& eis) override;
  bool opensSame(int32_t keyword) const override { return keyword == tok::With; }
  int32_t run(zorbel::ScriptSpace& ss) override;

  std::unique_ptr<expTree> object_;
};

}  // namespace engine
