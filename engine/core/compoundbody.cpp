#include "core/compoundbody.h"

#include "core/compoundbodies.h"
#include "core/createtree.h"
#include "rt/stack.h"

namespace engine {

void CompoundBody::addCode(ExpItems& eis) {
  error_.clear();
  try {
    if (started_) {
      if (!eis.empty()) nextLine(eis);
    } else {
      line_ = eis.sptModeLine;
      opener_ = eis.empty() ? 0 : eis.item(1).iType;
      firstLine(eis);
      started_ = true;
    }
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"AddCode");
  }
}

int32_t CompoundBody::execute(zorbel::ScriptSpace& ss) {
  error_.clear();
  if (!started_) return ExitNone;  // its opening line was refused: nothing to run
  running.line = line_;
  try {
    rt::stack::check();  // blocks run nested in the statements that hold them
    return run(ss);
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"Execute");
    return ExitNone;
  }
}

bool CompoundBody::passOn(BodyGeneral& body, ExpItems& eis) {
  body.addCode(eis);
  if (!body.error().haveErr()) return true;
  error_.copy(body.error(), u"AddCode");
  return false;
}

namespace {

// A ":" right after the clause ("Else: x = 1") only separates.
std::span<const ExpItem> withoutLeadingSeparators(std::span<const ExpItem> statements) {
  size_t first = 0;
  while (first < statements.size() && (statements[first].iType == tok::Blank ||
                                       statements[first].iType == tok::Separator))
    ++first;
  return statements.subspan(first);
}

}  // namespace

bool CompoundBody::passOn(BodyGeneral& body, std::span<const ExpItem> statements,
                          const ExpItems& line) {
  statements = withoutLeadingSeparators(statements);
  return statements.empty() || passOn(body, *lineOf(statements, line));
}

bool CompoundBody::passOnInPlace(BodyGeneral& body, std::span<const ExpItem> statements,
                                 ExpItems& line) {
  statements = withoutLeadingSeparators(statements);
  if (statements.empty()) return true;
  std::vector<ExpItem>& tokens = line.tokens();
  const auto begin = tokens.begin() + (statements.data() - tokens.data());
  tokens.erase(begin + static_cast<std::ptrdiff_t>(statements.size()), tokens.end());
  tokens.erase(tokens.begin(), begin);
  return passOn(body, line);
}

void CompoundBody::requireClosed(const BodyGeneral& body, const char16_t* where) {
  requireAllClosed(body, where);
}

bool CompoundBody::failed(BodyGeneral& body) {
  error_.copy(body.error(), u"Execute");
  return false;
}

bool CompoundBody::evaluated(expTree& tree, zorbel::ScriptSpace& ss, int32_t rf, Operand& out) {
  if (tree.evaluate(ss, rf, out)) return true;
  error_.copy(tree.error(), u"Execute");
  return false;
}

bool CompoundBody::truth(expTree& tree, zorbel::ScriptSpace& ss, bool& out) {
  if (conditionTruth(tree, ss, out)) [[likely]] return true;
  failedTruth(tree);
  return false;
}

void CompoundBody::failedTruth(expTree& tree) { error_.copy(tree.error(), u"Execute"); }

void InnerBody::nextLine(ExpItems& eis) {
  const int32_t t = eis.item(1).iType;
  if (opensSame(t)) {
    ++nesting_;
  } else if (t == closer_) {
    if (nesting_ == 0) {
      requireClosed(inner_, u"NextLine");
      closingLine(eis);
      over_ = true;
      return;
    }
    --nesting_;
  }
  passOn(inner_, eis);
}

}  // namespace engine
