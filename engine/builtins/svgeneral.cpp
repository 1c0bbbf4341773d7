#include "builtins/svgeneral.h"

#include <utility>

#include "builtins/svstatfuns.h"
#include "core/scriptvalues.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"

namespace engine {

const rt::MemberTable<SvGeneral>& SvGeneral::members() {
  static const auto table = rt::MemberTable<SvGeneral>(u"SvGeneral")
                                .method(u"AddSubs", [](SvGeneral& g, const rt::Variant& sv) {
                                  rt::Object* o = rt::objectArg(sv);
                                  rt::Ref<zorbel::ScriptValue> v = rt::queryRef<zorbel::ScriptValue>(o);
                                  if (!v) rt::raise(o ? rt::err::TypeMismatch : rt::err::ObjectRequired);
                                  g.addSubs(v.get());
                                });
  return table;
}

SvGeneral::SvGeneral() : err_(u"SvGeneral"), value_(int16_t{0}) {}
SvGeneral::~SvGeneral() = default;

rt::Ref<SvGeneral> SvGeneral::holding(const rt::Variant& v) {
  rt::Ref<SvGeneral> g = rt::make<SvGeneral>();
  g->value_ = v;
  g->flag_ = FlagAssigned;
  if (g->value_.isObject()) g->holdsObject();
  return g;
}

ScriptValues& SvGeneral::attributes() {
  if (!attrs_) attrs_ = rt::make<ScriptValues>();
  return *attrs_;
}

ScriptValues& SvGeneral::subValues() {
  if (!subs_) subs_ = rt::make<ScriptValues>();
  return *subs_;
}

void SvGeneral::addSubs(zorbel::ScriptValue* sv) {
  if (!sv) return;
  ScriptValues& list = subValues();
  if (!list.addUnder(sv, sv->key())) list.addUnder(sv, {});
  flag_ = FlagListed;
}

void SvGeneral::assignObject(rt::Variant&& v) {
  value_ = std::move(v);
  holdsObject();
}

void SvGeneral::eachHeld(rt::HeldVisitor& visit) noexcept {
  if (value_.isObject()) visit.held(value_.object());
  if (attrs_) visit.held(attrs_.get());
  if (subs_) visit.held(subs_.get());
}

void SvGeneral::letGoOfHeld() noexcept {
  // Taken out first: what goes may reach this value again.
  rt::Ref<ScriptValues> attrs = std::move(attrs_), subs = std::move(subs_);
  rt::Variant value = std::exchange(value_, rt::Variant(int16_t{0}));
}

zorbel::ScriptValue* SvGeneral::item(int32_t i) const { return subs_ ? subs_->at(i) : nullptr; }

int32_t SvGeneral::count() { return subs_ ? subs_->count() : 0; }

rt::Variant SvGeneral::value() {
  err_.clear();
  return value_;
}

void SvGeneral::letValue(const rt::Variant& v) {
  err_.clear();
  value_ = v;
  flag_ = FlagAssigned;
  if (value_.isObject()) holdsObject();
}

void SvGeneral::setValue(const rt::Variant& v) {
  err_.clear();
  value_ = v;
  flag_ = FlagAssigned;
  if (value_.isObject()) holdsObject();
}

rt::Ref<zorbel::ScriptValue> SvGeneral::attr(std::u16string_view name) {
  err_.clear();
  try {
    // x.sum is the MathStat Sum of the call's arguments, not an attribute.
    if (rt::equalsNoCase(name, u"sum")) {
      rt::Ref<zorbel::ScriptValue> f = newStatFun(name);
      // As the original hands itself over: the function object refuses it
      // (1004 in its own record) and clears that on its next call.
      f->setValue(rt::Variant(static_cast<rt::Object*>(static_cast<zorbel::ScriptValue*>(this))));
      return f;
    }
    ScriptValues& list = attributes();
    if (zorbel::ScriptValue* a = list.find(name)) return a;
    return list.add(rt::Variant(int16_t{0}), name);
  } catch (const rt::RuntimeError& e) {
    err_.trap(e, u"ScriptValue_Attr");
    return nullptr;
  }
}

rt::Ref<zorbel::ScriptValue> SvGeneral::subs(const rt::Variant& index, int32_t) {
  err_.clear();
  flag_ = FlagListed;
  try {
    return subsAt(index);
  } catch (const rt::RuntimeError& e) {
    err_.trap(e, u"ScriptValue_Subs");
    return nullptr;
  }
}

rt::Ref<zorbel::ScriptValue> SvGeneral::subsAt(const rt::Variant& index) {
  ScriptValues& list = subValues();
  if (index.isText()) {
    if (zorbel::ScriptValue* s = list.find(index.text())) return s;
    return list.add(rt::Variant(int16_t{0}), index.text());
  }
  int32_t i = rt::toLong(index);
  if (i > list.count() && i > kMaxGrowth) rt::raise(rt::err::SubscriptOutOfRange);
  while (list.count() < i) list.addUnder(rt::make<SvGeneral>().get(), {});
  return list.at(i);
}

rt::Ref<zorbel::ScriptValue> SvGeneral::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue*, int32_t) {
  err_.setCode(ErrNotSupported, u"ScriptValue_FunCall");
  return nullptr;
}

}  // namespace engine
