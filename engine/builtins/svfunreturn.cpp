#include "builtins/svfunreturn.h"

#include <atomic>

namespace engine {

namespace {

// Slots let go of, for later calls.  Like the block pool (pool.h) it serves
// the first thread that uses it and steps aside under AddressSanitizer; at
// exit it deletes what it keeps, and a slot let go of later is deleted.
class SpareSlots {
 public:
  ~SpareSlots() {
    closed_ = true;
    while (count_ > 0) delete slots_[--count_];
  }
  // The list when this thread owns it, else null.
  static SpareSlots* own() {
#ifdef ZUB_POOL_STEPS_ASIDE
    return nullptr;
#else
    static SpareSlots list;
    return claimedByThisThread(list.owner_) ? &list : nullptr;
#endif
  }
  SvFunReturn* take() { return count_ > 0 ? slots_[--count_] : nullptr; }
  bool put(SvFunReturn* slot) {
    if (closed_ || count_ == kKeep) return false;
    slots_[count_++] = slot;
    return true;
  }

 private:
  // Enough for the calls a deep recursion ends at once.
  static constexpr size_t kKeep = 64;
  SvFunReturn* slots_[kKeep] = {};
  size_t count_ = 0;
  bool closed_ = false;
  std::atomic<void*> owner_{nullptr};
};

// What a slot holds as it is rather than by value.
bool heldAsIs(zorbel::ScriptValue& v) {
  if (v.flag() & (zorbel::FlagCall | zorbel::FlagList)) return true;
  const rt::Variant held = v.value();
  return held.isObject() && held.object();
}

}  // namespace

const rt::MemberTable<SvFunReturn>& SvFunReturn::members() {
  static const auto table = rt::MemberTable<SvFunReturn>(u"SvFunReturn")
                                .method(u"SetPv", [](SvFunReturn& r, rt::Ref<zorbel::ScriptValue> p) {
                                  r.setPv(p.get());
                                });
  return table;
}

rt::Ref<SvFunReturn> SvFunReturn::make() {
  if (SpareSlots* spare = SpareSlots::own())
    if (SvFunReturn* slot = spare->take()) return rt::Ref<SvFunReturn>(slot);
  return rt::make<SvFunReturn>();
}

// What it holds goes in the order its destruction would let it go.
void SvFunReturn::destroy() noexcept {
  if (SpareSlots* spare = SpareSlots::own()) {
    fun_ = nullptr;
    held_ = nullptr;
    value_.clear();
    err_.forget();
    if (spare->put(this)) return;
  }
  delete this;
}

rt::Ref<zorbel::ScriptValue> SvFunReturn::finish() {
  fun_ = nullptr;
  if (held_) return held_;
  return this;
}

void SvFunReturn::rebind(zorbel::ScriptValue* v) {
  err_.clear();
  if (v == this) return;  // Set F = F
  if (!v) {
    held_ = nullptr;
    value_ = rt::Variant(nullptr);
    return;
  }
  if (heldAsIs(*v)) {
    held_ = v;
    value_.clear();
    return;
  }
  held_ = nullptr;
  value_ = v->value();
}

int32_t SvFunReturn::count() {
  err_.clear();
  if (held_) return held_->count();
  refuse(u"ScriptValue_Count");
  return 0;
}

int32_t SvFunReturn::flag() {
  if (fun_) return fun_->flag();
  return held_ ? held_->flag() : zorbel::FlagValue;
}

rt::Variant SvFunReturn::value() {
  if (held_) return rt::Variant(static_cast<rt::Object*>(held_.get()));
  return value_;
}

void SvFunReturn::letValue(const rt::Variant& v) {
  err_.clear();
  if (held_) held_->letValue(v);
  else value_ = v;
}

void SvFunReturn::setValue(const rt::Variant& v) {
  err_.clear();
  rt::Ref<zorbel::ScriptValue> sv =
      v.isObject() ? rt::queryRef<zorbel::ScriptValue>(v.object()) : nullptr;
  if (sv.get() == this) return;
  held_ = sv;
  value_ = sv ? rt::Variant() : v;
}

rt::Ref<zorbel::ScriptValue> SvFunReturn::attr(std::u16string_view name) {
  err_.clear();
  if (held_) return held_->attr(name);
  refuse(u"ScriptValue_Attr");
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> SvFunReturn::subs(const rt::Variant& index, int32_t rf) {
  err_.clear();
  if (held_) return held_->subs(index, rf);
  refuse(u"ScriptValue_Subs");
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> SvFunReturn::funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                                  int32_t reFlag) {
  err_.clear();
  if (!fun_) {
    refuse(u"ScriptValue_FunCall");
    return nullptr;
  }
  rt::Ref<zorbel::ScriptValue> fun = fun_;  // the call may end this slot's own
  rt::Ref<zorbel::ScriptSpace> caller = ss ? ss->parent() : nullptr;
  rt::Ref<zorbel::ScriptValue> result = fun->funCall(caller.get(), sv, reFlag);
  if (fun->hasError()) err_.copy(fun->error(), u"ScriptValue_FunCall");
  return result;
}

jespin::IErrInfo& SvFunReturn::error() {
  if (held_ && !err_.haveErr()) return held_->error();
  return err_.info();
}

bool SvFunReturn::hasError() {
  if (err_.haveErr()) return true;
  return held_ && held_->hasError();
}

}  // namespace engine
