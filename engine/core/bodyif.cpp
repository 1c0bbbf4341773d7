#include "core/conditionals.h"

namespace engine {

namespace {

// An If or ElseIf line cut at Then: the condition before it and the
// statements after it (ElseIf needs no Then: all of it is the condition).
// In a one-line If the statements are cut again at an Else of their own:
// each nested one-line If among them takes the first Else after it.
struct IfLine {
  std::span<const ExpItem> condition;
  std::span<const ExpItem> statements;
  std::span<const ExpItem> elseStatements;  // from the Else or ElseIf on
  bool hasThen = false;
  bool hasElse = false;
};

IfLine cutIfLine(const ExpItems& eis, bool oneLineElse) {
  IfLine l;
  const std::span<const ExpItem> all = tokensFrom(eis, 2);
  size_t then = 0;
  while (then < all.size() && all[then].iType != tok::Then) ++then;
  l.condition = all.first(then);
  if (then == all.size()) return l;
  l.hasThen = true;
  l.statements = all.subspan(then + 1);
  if (!oneLineElse) return l;
  int32_t nested = 0;  // nested Ifs still waiting for their Else
  for (size_t i = 0; i < l.statements.size(); ++i) {
    const int32_t t = l.statements[i].iType;
    if (t == tok::If) ++nested;
    if (t != tok::Else && t != tok::ElseIf) continue;
    if (nested > 0) {
      if (t == tok::Else) --nested;  // an ElseIf takes the Else and opens an If
      continue;
    }
    l.hasElse = true;
    l.elseStatements = l.statements.subspan(i);
    l.statements = l.statements.first(i);
    break;
  }
  return l;
}

bool hasStatements(std::span<const ExpItem> tokens) {
  for (const ExpItem& ei : tokens)
    if (ei.iType != tok::Blank) return true;
  return false;
}

// An If line that opens a block: nothing after Then.
bool opensBlock(const ExpItems& eis) {
  IfLine l = cutIfLine(eis, true);
  return l.hasThen && !hasStatements(l.statements) && !l.hasElse;
}

std::unique_ptr<expTree> requiredCondition(std::span<const ExpItem> tokens, const char16_t* where) {
  std::unique_ptr<expTree> c = conditionTree(tokens);
  if (c->isEmpty()) raiseCode(ErrIfSyntax, where);
  return c;
}

}  // namespace

BodyGeneral& BodyIF::newBranch(std::unique_ptr<expTree> condition, int32_t line) {
  auto b = std::make_unique<Branch>(depth_);
  b->condition = std::move(condition);
  b->line = line;
  branches_.push_back(std::move(b));
  return branches_.back()->body;
}

void BodyIF::firstLine(ExpItems& eis) {
  IfLine l = cutIfLine(eis, true);
  if (!l.hasThen) raiseCode(ErrIfSyntax, u"FirstLine");
  BodyGeneral& then = newBranch(requiredCondition(l.condition, u"FirstLine"), eis.sptModeLine);
  if (!hasStatements(l.statements) && !l.hasElse) return;  // the block form
  over_ = true;
  if (!l.hasElse) {
    if (passOnInPlace(then, l.statements, eis)) requireClosed(then, u"FirstLine");
    return;
  }
  // "Else If" arrives as one ElseIf token: the Else part is an If.
  if (l.elseStatements.front().iType == tok::ElseIf) {
    const size_t at = static_cast<size_t>(l.elseStatements.data() - eis.tokens().data());
    eis.tokens()[at] = ExpItem{tok::If, rt::Variant(u"If")};
  } else {
    l.elseStatements = l.elseStatements.subspan(1);
  }
  // The shorter part is copied and the longer one cut out of the line in
  // place: statements nested on one line then take memory in proportion to
  // the line, whichever part they nest in.
  const bool thenInPlace = l.statements.size() >= l.elseStatements.size();
  rt::Ref<ExpItems> other;
  if (thenInPlace) {
    other = lineOf(l.elseStatements, eis);
    l.elseStatements = std::span<const ExpItem>(other->begin(), other->end());
  }
  if (!(thenInPlace ? passOnInPlace(then, l.statements, eis) : passOn(then, l.statements, eis))) return;
  requireClosed(then, u"FirstLine");
  sawElse_ = true;
  BodyGeneral& otherwise = newBranch(nullptr, eis.sptModeLine);
  if (passOnInPlace(otherwise, l.elseStatements, thenInPlace ? *other : eis))
    requireClosed(otherwise, u"FirstLine");
}

void BodyIF::nextLine(ExpItems& eis) {
  const int32_t t = eis.item(1).iType;
  if (nesting_ == 0 && (t == tok::ElseIf || t == tok::Else || t == tok::EndIf))
    requireClosed(branches_.back()->body, u"NextLine");
  if (nesting_ == 0) {
    if (t == tok::ElseIf) return elseIfLine(eis);
    if (t == tok::Else) return elseLine(eis);
    if (t == tok::EndIf) {
      over_ = true;
      return;
    }
  }
  if (t == tok::If && opensBlock(eis)) ++nesting_;
  else if (t == tok::EndIf) --nesting_;
  passOn(branches_.back()->body, eis);
}

void BodyIF::elseIfLine(ExpItems& eis) {
  if (sawElse_) raiseCode(ErrIfSyntax, u"ElseIfLine");
  IfLine l = cutIfLine(eis, false);
  BodyGeneral& branch = newBranch(requiredCondition(l.condition, u"ElseIfLine"), eis.sptModeLine);
  passOnInPlace(branch, l.statements, eis);
}

// Statements after Else on its line are the first of the Else part.  A
// second Else would open a part that can never run.
void BodyIF::elseLine(ExpItems& eis) {
  if (sawElse_) raiseCode(ErrIfSyntax, u"NextLine");
  sawElse_ = true;
  passOnInPlace(newBranch(nullptr, eis.sptModeLine), tokensFrom(eis, 2), eis);
}

int32_t BodyIF::run(zorbel::ScriptSpace& ss) {
  for (const std::unique_ptr<Branch>& b : branches_) {
    if (b->condition) {
      running.line = b->line;
      bool chosen = false;
      if (!truth(*b->condition, ss, chosen)) return ExitNone;
      if (!chosen) continue;
    }
    int32_t code = ExitNone;
    ran(b->body, ss, code);
    return code;
  }
  return ExitNone;
}

}  // namespace engine
