#include "core/conditionals.h"
#include "core/createtree.h"
#include "core/evalsupport.h"
#include "rt/ops.h"

namespace engine {

namespace {

[[noreturn]] void malformed(const char16_t* where) { raiseCode(ErrSelectSyntax, where); }

bool isComparison(int32_t code) {
  return code == tok::Less || code == tok::LessEqual || code == tok::Greater ||
         code == tok::GreaterEqual || code == tok::EqualEqual || code == tok::Equals ||
         code == tok::NotEqual || code == tok::Like;
}

// Reads the alternatives of a Case line, "v", "a To b" or "Is <op> v",
// separated by commas outside brackets.  A ":" outside brackets ends them;
// what follows it is the case's first statement.
class CaseReader {
 public:
  explicit CaseReader(std::vector<CaseAlternative>& out) : out_(out) {}

  // Returns where the statements after the list start (past the end when
  // there are none).
  size_t read(std::span<const ExpItem> tokens) {
    size_t i = 0;
    for (; i < tokens.size(); ++i) {
      const ExpItem& ei = tokens[i];
      const int32_t t = ei.iType;
      if (expectOp_) {
        if (t == tok::Blank) continue;
        if (!isComparison(t)) malformed(u"NextLine");
        op_ = t == tok::Equals ? tok::EqualEqual : t;
        expectOp_ = false;
        continue;
      }
      if (depth_ == 0) {
        if (t == tok::Separator) break;
        if (t == tok::Comma) {
          emit();
          continue;
        }
        if (t == tok::To) {
          if (afterTo_ || op_ != 0 || value_.empty()) malformed(u"NextLine");
          afterTo_ = true;
          continue;
        }
        if (t == tok::Is && value_.empty() && !afterTo_ && op_ == 0) {
          expectOp_ = true;
          continue;
        }
      }
      if (tok::isOpeningBracket(t)) ++depth_;
      else if (tok::isClosingBracket(t) && depth_ > 0) --depth_;
      appendToken(afterTo_ ? upper_ : value_, ei);
    }
    emit();
    return i + 1;
  }

 private:
  void emit() {
    if (expectOp_ || value_.empty() || (afterTo_ && upper_.empty())) malformed(u"NextLine");
    CaseAlternative a;
    a.op = afterTo_ ? tok::To : op_ ? op_ : tok::EqualEqual;
    a.value = mkTree(value_);
    if (afterTo_) a.upper = mkTree(upper_);
    out_.push_back(std::move(a));
    value_.clear();
    upper_.clear();
    afterTo_ = false;
    op_ = 0;
  }

  std::vector<CaseAlternative>& out_;
  TokenRun value_;
  TokenRun upper_;
  bool afterTo_ = false;
  bool expectOp_ = false;
  int32_t op_ = 0;  // the comparison of an "Is" alternative
  int32_t depth_ = 0;
};

}  // namespace

void BodySELECT::firstLine(ExpItems& eis) {
  if (eis.count() < 3 || eis.item(2).iType != tok::Case) malformed(u"FirstLine");
  selector_ = mkTree(tokensFrom(eis, 3));
  if (selector_->isEmpty()) malformed(u"FirstLine");
}

void BodySELECT::nextLine(ExpItems& eis) {
  const int32_t t = eis.item(1).iType;
  if (nesting_ == 0 && !cases_.empty() && (t == tok::Case || t == tok::EndSelect))
    requireClosed(cases_.back()->body, u"NextLine");
  if (nesting_ == 0) {
    if (t == tok::Case) return caseLine(eis);
    if (t == tok::EndSelect) {
      over_ = true;
      return;
    }
    // A line before the first Case has no body to go to.
    if (cases_.empty()) malformed(u"NextLine");
  }
  if (t == tok::Select) ++nesting_;
  else if (t == tok::EndSelect) --nesting_;
  passOn(cases_.back()->body, eis);
}

void BodySELECT::caseLine(ExpItems& eis) {
  std::span<const ExpItem> rest = tokensFrom(eis, 2);
  if (rest.empty()) malformed(u"NextLine");
  auto c = std::make_unique<Case>(depth_);
  c->line = eis.sptModeLine;
  size_t statements = 0;
  if (rest[0].iType == tok::Else) {
    // Case Else, alone or with a statement after ":".
    statements = 1;
    while (statements < rest.size() && rest[statements].iType == tok::Blank) ++statements;
    if (statements < rest.size() && rest[statements].iType != tok::Separator)
      malformed(u"NextLine");
  } else {
    statements = CaseReader(c->alternatives).read(rest);
  }
  cases_.push_back(std::move(c));
  if (statements < rest.size()) passOnInPlace(cases_.back()->body, rest.subspan(statements), eis);
}

bool BodySELECT::matches(Case& c, const rt::Variant& s, zorbel::ScriptSpace& ss, bool& hit) {
  hit = c.alternatives.empty();  // Case Else
  for (CaseAlternative& a : c.alternatives) {
    Operand v;
    if (!evaluated(*a.value, ss, zorbel::ModeValue, v)) return false;
    if (a.op != tok::To) {
      hit = truthOf(binaryValue(a.op, s, v.value()));
    } else {
      hit = truthOf(binaryValue(tok::GreaterEqual, s, v.value()));
      if (hit) {
        Operand upper;
        if (!evaluated(*a.upper, ss, zorbel::ModeValue, upper)) return false;
        hit = truthOf(binaryValue(tok::LessEqual, s, upper.value()));
      }
    }
    if (hit) break;
  }
  return true;
}

int32_t BodySELECT::run(zorbel::ScriptSpace& ss) {
  if (!over_) {
    // Without its EndSelect the statement would have taken every later line
    // into its last case.
    error_.setCode(ErrSelectSyntax, u"Execute");
    return ExitNone;
  }
  Operand selector;
  if (!evaluated(*selector_, ss, zorbel::ModeValue, selector)) return ExitNone;
  const rt::Variant s = selector.value();
  for (const std::unique_ptr<Case>& c : cases_) {
    running.line = c->line;
    bool hit = false;
    if (!matches(*c, s, ss, hit)) return ExitNone;
    if (!hit) continue;
    int32_t code = ExitNone;
    ran(c->body, ss, code);
    return code;
  }
  return ExitNone;
}

}  // namespace engine
