// A user function as a callable script value: its call, and the value
// operations it refuses.
#include <algorithm>
#include <vector>

#include "builtins/svfunreturn.h"
#include "builtins/svsingle.h"
#include "builtins/svuserfun.h"
#include "core/callstack.h"
#include "core/place.h"
#include "core/evalsupport.h"
#include "core/ssbody.h"
#include "rt/rings.h"

namespace engine {

namespace {

constexpr std::u16string_view kFunCall = u"ScriptValue_FunCall";

// An error passes out through every level of a recursion, each adding its
// chain of operations.  Past this many lines at each end the middle of the
// chain is dropped, so that it stays readable and copying it stays cheap.
constexpr size_t kChainEnds = 12;

// The most spaces of ended calls a function keeps for its next calls.
constexpr size_t kSpareSpaces = 8;

std::u16string boundedChain(std::u16string chain) {
  constexpr std::u16string_view kBreak = u"\r\n";
  std::vector<size_t> starts{0};
  for (size_t at = chain.find(kBreak); at != chain.npos; at = chain.find(kBreak, at + 2))
    starts.push_back(at + 2);
  if (starts.size() <= 2 * kChainEnds + 1) return chain;
  std::u16string out = chain.substr(0, starts[kChainEnds]);
  out += u"...";
  out += kBreak;
  out += chain.substr(starts[starts.size() - kChainEnds]);
  return out;
}

}  // namespace

void recordBodyFailure(ErrRecord& into, jespin::IErrInfo& from) {
  into.info().readError(from.number(), boundedChain(from.source()), from.description(), kFunCall);
}

// Item i of an argument list is that argument object itself, so the
// parameter refers to the caller's variable.  Missing arguments are empty.
void SvUserFun::bindParams(SsBody& space, zorbel::ScriptValue* sv) {
  const bool list = sv && isArgumentList(*sv);
  const size_t given = list ? static_cast<size_t>(std::max(sv->count(), 0)) : sv ? 1 : 0;
  for (size_t i = 0; i < params_.size(); ++i) {
    rt::Ref<zorbel::ScriptValue> arg;
    if (i < given)
      arg = list ? sv->subs(rt::Variant(static_cast<int32_t>(i + 1)), zorbel::ModeValue) : sv;
    if (!arg) arg = rt::make<SvSingle>();
    if (!space.bindNew(params_[i], arg.get(), &steps_[i + 1])) space.setValue(params_[i], arg.get());
  }
}

rt::Ref<SsBody> SvUserFun::takeSpace() {
  if (spare_.empty()) return rt::make<SsBody>();
  rt::Ref<SsBody> space = std::move(spare_.back());
  spare_.pop_back();
  return space;
}

// A space that something still holds (a sub-host made in the call has it as
// its parent) is left to its holders.
void SvUserFun::giveBack(rt::Ref<SsBody> space) {
  if (space->refCount() != 1 || spare_.size() >= kSpareSpaces) return;
  space->reset();
  spare_.push_back(std::move(space));
}

rt::Ref<zorbel::ScriptValue> SvUserFun::funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                                int32_t) {
  error_.clear();
  rt::Ref<SvUserFun> keep(this);  // the body may unbind the function
  try {
    CallDepth call;
    // Called with no arguments at all, a function that takes some has
    // nothing to bind them to.
    if (!sv && !params_.empty()) rt::raise(rt::err::WrongArgumentCount, name_);
    rt::Ref<SsBody> space = takeSpace();
    rt::Ref<SvFunReturn> slot = SvFunReturn::make();
    slot->setPv(this);
    // Bound before the space has a parent, so both stay local to it.
    steps_.resize(params_.size() + 1);
    space->bindNew(name_, slot.get(), &steps_[0]);
    bindParams(*space, sv);
    SourceRun run(source_);  // a failure of the body is reported where it happened
    if (!body_) {
      // Lines the body refuses leave nothing made, so the next call tries again.
      body_ = makeFunctionBody(lines_, error_);
      if (!body_) return nullptr;
    }
    space->setParent(ss);
    bool failed;
    {
      ActiveSpace active(space.get());
      failed = !runFunctionBody(*body_, *space, error_);
    }
    rt::Ref<zorbel::ScriptValue> result = slot->finish();
    giveBack(std::move(space));
    // The call's own names are gone, rings they held with them: a point
    // where nothing is half done.
    rt::Rings::lookIfDue();
    if (!failed) {
      run.endedWell();
      return result;
    }
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, kFunCall);
  }
  return nullptr;
}

// Read as a value, the function has no statement of its own to fail: its
// failure (450 when it needs arguments) is raised to the code reading it.
rt::Variant SvUserFun::value() {
  rt::Ref<zorbel::ScriptValue> result =
      funCall(ActiveSpace::current(), nullptr, zorbel::ModeStatement);
  if (!result && error_.haveErr()) error_.raise();
  return result ? result->value() : rt::Variant();
}

int32_t SvUserFun::count() {
  refuse(u"ScriptValue_Count");
  return 0;
}

void SvUserFun::letValue(const rt::Variant&) { refuse(u"Let_ScriptValue_Value"); }
void SvUserFun::setValue(const rt::Variant&) { refuse(u"Set_ScriptValue_Value"); }

rt::Ref<zorbel::ScriptValue> SvUserFun::attr(std::u16string_view) {
  refuse(u"ScriptValue_Attr");
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> SvUserFun::subs(const rt::Variant&, int32_t) {
  refuse(u"ScriptValue_Subs");
  return nullptr;
}

}  // namespace engine
