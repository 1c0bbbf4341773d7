#include <cstdint>

#include "builtins/svgeneral.h"
#include "core/createtree.h"
#include "core/forcounter.h"
#include "core/loops.h"
#include "rt/convert.h"
#include "rt/enumerator.h"
#include "rt/ops.h"

namespace engine {

namespace {

[[noreturn]] void malformed() { raiseCode(ErrForSyntax, u"FirstLine"); }

// A header piece that must not be empty.
std::unique_ptr<expTree> part(const TokenRun& tokens) {
  if (tokens.empty()) malformed();
  return mkTree(tokens);
}

}  // namespace

bool ForLoop::goesOn(int32_t code, int32_t& result) {
  if (code == ExitNone) return true;
  result = code == ExitFor ? ExitNone : code;
  return false;
}

// "For v = start To end [Step step]": the start piece keeps the variable
// and becomes the assignment "v := start"; a later "=" compares.
void BodyFOR::firstLine(ExpItems& eis) {
  variable_.reset();  // what a refused opening line left
  step_.reset();
  enum { Variable, End, Step } state = Variable;
  TokenRun tokens;
  size_t piece = 0;  // where the current piece begins in `tokens`
  for (const ExpItem& ei : tokensFrom(eis, 2)) {
    const int32_t t = ei.iType;
    if ((t == tok::Equals || t == tok::Assign) && state == Variable && !variable_) {
      if (tokens.empty()) malformed();
      variable_ = mkTree(tokens);
      tokens.push_back(ExpItem{tok::Assign, ei.iValue});
      piece = tokens.size();
    } else if (t == tok::To) {
      if (state != Variable || !variable_ || tokens.size() == piece) malformed();
      start_ = mkTree(tokens);
      tokens.clear();
      piece = 0;
      state = End;
    } else if (t == tok::Step) {
      if (state != End) malformed();
      end_ = part(tokens);
      tokens.clear();
      state = Step;
    } else if (t == tok::Each || t == tok::In) {
      malformed();  // For Each split by something between the two words
    } else if (t != tok::Blank || tokens.size() > piece) {  // no blank opens a piece
      tokens.push_back(ei);
      if (t == tok::Equals) tokens.back().iType = tok::EqualEqual;
    }
  }
  if (state == Variable) malformed();
  (state == End ? end_ : step_) = part(tokens);
}

bool BodyFOR::bound(expTree& tree, zorbel::ScriptSpace& ss, int32_t& out) {
  Operand v;
  if (!evaluated(tree, ss, zorbel::ModeValue, v)) return false;
  out = rt::toLong(v.value());
  return true;
}

int32_t BodyFOR::run(zorbel::ScriptSpace& ss) {
  Operand var;
  if (!evaluated(*variable_, ss, zorbel::ModeValue, var)) return ExitNone;
  rt::Ref<zorbel::ScriptValue> v = var.requireObject();
  start_->operation(ss);
  if (start_->error().haveErr()) {
    error_.copy(start_->error(), u"Execute");
    return ExitNone;
  }
  int32_t last = 0;
  int32_t step = 1;
  if (!bound(*end_, ss, last) || (step_ && !bound(*step_, ss, step))) return ExitNone;
  ForCounter counter(*v, last, step);
  for (;;) {
    if (counter.pastEnd()) return ExitNone;
    if (ss.runStop()) return ExitNone;
    int32_t code = ExitNone;
    if (!ran(inner_, ss, code)) return ExitNone;
    if (int32_t result; !goesOn(code, result)) return result;
    running.line = line_;  // the step belongs to the For line
    if (!counter.step()) {
      error_.copy(v->error(), u"Execute");
      return ExitNone;
    }
  }
}

// "For Each v In collection".
void BodyForEach::firstLine(ExpItems& eis) {
  variable_.reset();  // what a refused opening line left
  TokenRun tokens;
  for (const ExpItem& ei : tokensFrom(eis, 2)) {
    if (ei.iType == tok::In) {
      if (variable_) malformed();
      variable_ = part(tokens);
      tokens.clear();
    } else {
      appendToken(tokens, ei);
    }
  }
  if (!variable_) malformed();
  collection_ = part(tokens);
}

int32_t BodyForEach::run(zorbel::ScriptSpace& ss) {
  Operand var;
  if (!evaluated(*variable_, ss, zorbel::ModeObject, var)) return ExitNone;
  rt::Ref<zorbel::ScriptValue> v = var.requireObject();
  Operand coll;
  if (!evaluated(*collection_, ss, zorbel::ModeObject, coll)) return ExitNone;
  const rt::Variant c = coll.value();
  if (!c.isObject()) rt::raise(rt::err::ObjectRequired);
  rt::Ref<rt::Enumerator> items = rt::enumeratorOf(c.object());
  rt::Variant item;
  for (;;) {
    running.line = line_;  // taking the next item belongs to the For Each line
    if (!items->next(item)) break;
    if (item.isObject()) v->setValue(item);
    else v->letValue(item);
    if (v->hasError()) {
      error_.copy(v->error(), u"Execute");
      return ExitNone;
    }
    int32_t code = ExitNone;
    if (!ran(inner_, ss, code)) return ExitNone;
    if (int32_t result; !goesOn(code, result)) return result;
  }
  return ExitNone;
}

}  // namespace engine
