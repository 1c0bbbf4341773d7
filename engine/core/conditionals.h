// The conditional statements: If (block and one-line forms) and Select Case.
// Conditions are compiled once, while the lines are fed in; the lines of
// each branch go to a BodyGeneral of the branch's own.  Exit codes of the
// chosen branch pass through unchanged.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/compoundbody.h"

namespace engine {

// If c Then / ElseIf c [Then] / Else / EndIf, and If c Then s [Else s].
class BodyIF final : public CompoundBody {
 public:
  explicit BodyIF(int32_t depth) : CompoundBody(u"BodyIF", depth) {}

  size_t branchCount() const { return branches_.size(); }
  const BodyGeneral* receiving() const override {
    return branches_.empty() ? nullptr : &branches_.back()->body;
  }

 private:
  struct Branch {
    explicit Branch(int32_t depth) : body(depth) {}
    std::unique_ptr<expTree> condition;  // none for the Else branch
    int32_t line = 0;                    // of the condition
    BodyGeneral body;
  };

  void firstLine(ExpItems& eis) override;
  void nextLine(ExpItems& eis) override;
  int32_t run(zorbel::ScriptSpace& ss) override;
  void elseIfLine(ExpItems& eis);
  void elseLine(ExpItems& eis);
  BodyGeneral& newBranch(std::unique_ptr<expTree> condition, int32_t line);

  std::vector<std::unique_ptr<Branch>> branches_;
  bool sawElse_ = false;
  int32_t nesting_ = 0;  // block Ifs open inside the current branch
};

// One alternative of a Case line: the selector compared by `op` with
// `value`, or a range from `value` to `upper` (op To).
struct CaseAlternative {
  int32_t op = 0;
  std::unique_ptr<expTree> value;
  std::unique_ptr<expTree> upper;
};

// Select Case s / Case alternatives / Case Else / EndSelect.  The selector
// is evaluated once per run and compared with each alternative in turn: a
// value, a range "a To b", or "Is <comparison> value".
class BodySELECT final : public CompoundBody {
 public:
  explicit BodySELECT(int32_t depth) : CompoundBody(u"BodySelect", depth) {}

  size_t caseCount() const { return cases_.size(); }
  const BodyGeneral* receiving() const override {
    return cases_.empty() ? nullptr : &cases_.back()->body;
  }

 private:
  struct Case {
    explicit Case(int32_t depth) : body(depth) {}
    std::vector<CaseAlternative> alternatives;  // none for Case Else
    int32_t line = 0;                           // of the Case line
    BodyGeneral body;
  };

  void firstLine(ExpItems& eis) override;
  void nextLine(ExpItems& eis) override;
  int32_t run(zorbel::ScriptSpace& ss) override;
  void caseLine(ExpItems& eis);
  // Whether the selector's value `s` matches `c`; false after an error.
  bool matches(Case& c, const rt::Variant& s, zorbel::ScriptSpace& ss, bool& hit);

  std::unique_ptr<expTree> selector_;
  std::vector<std::unique_ptr<Case>> cases_;
  int32_t nesting_ = 0;  // Select statements open inside the current case
};

}  // namespace engine
