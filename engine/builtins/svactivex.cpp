#include "builtins/svactivex.h"

#include <limits>

#include "builtins/svsingle.h"
#include "core/errors.h"
#include "core/evalsupport.h"

namespace engine {

namespace {

// Lists are asked for their items with Integer positions as far as those
// reach.
rt::Variant position(int32_t i) {
  if (i <= std::numeric_limits<int16_t>::max()) return rt::Variant(static_cast<int16_t>(i));
  return rt::Variant(i);
}

// The object a value holds: Nothing is a missing object (91), a plain value
// none at all (424).
rt::Object* objectIn(const rt::Variant& v) {
  if (!v.isObject()) rt::raise(rt::err::ObjectRequired);
  if (!v.object()) rt::raise(rt::err::ObjectNotSet);
  return v.object();
}

}  // namespace

std::vector<rt::Variant> argumentValues(zorbel::ScriptValue* sv) {
  std::vector<rt::Variant> args;
  if (!sv) return args;
  if (!isArgumentList(*sv)) {
    args.push_back(sv->value());
    return args;
  }
  const int32_t n = sv->count();
  args.reserve(static_cast<size_t>(std::max(n, 0)));
  for (int32_t i = 1; i <= n; ++i) {
    rt::Ref<zorbel::ScriptValue> item = sv->subs(position(i), zorbel::ModeValue);
    if (!item) rt::raise(rt::err::ArgumentNotOptional);
    args.push_back(item->value());
  }
  return args;
}

const rt::MemberTable<SvActiveX>& SvActiveX::members() {
  using Sv = rt::Ref<zorbel::ScriptValue>;
  static const auto table =
      rt::MemberTable<SvActiveX>(u"SvActiveX")
          .method(u"InitChild",
                  [](SvActiveX& x, Sv p, const std::u16string& n) { x.initChild(p.get(), n); })
          .method(u"InitPmChild", [](SvActiveX& x, Sv p, const std::u16string& n, Sv svPm,
                                     int32_t rf) { x.initPmChild(p.get(), n, svPm.get(), rf); });
  return table;
}

void* SvActiveX::query(const rt::Iid& id) noexcept {
  if (id == zorbel::ObjectMembers::iid)
    return parent_ ? nullptr : static_cast<zorbel::ObjectMembers*>(this);
  return Automation::query(id);
}

template <class F>
bool SvActiveX::attempt(std::u16string_view source, F&& step) {
  try {
    step();
    return true;
  } catch (const rt::RuntimeError& e) {
    err_.trap(e, source);
    return false;
  }
}

void SvActiveX::initChild(zorbel::ScriptValue* p, std::u16string_view n) {
  parent_ = p;
  member_ = n;
  mode_ = zorbel::ModeValue;
}

void SvActiveX::initPmChild(zorbel::ScriptValue* p, std::u16string_view n,
                            zorbel::ScriptValue* svPm, int32_t rf) {
  parent_ = p;
  member_ = n;
  params_ = svPm;
  mode_ = rf;
}

// A parent that failed to answer passes its own failure on.
rt::Ref<rt::Object> SvActiveX::target() {
  if (!parent_) return objectIn(rt::Variant(wrapped_));
  const rt::Variant v = parent_->value();
  if (parent_->hasError()) raiseRecorded(parent_->error());
  return objectIn(v);
}

rt::Variant SvActiveX::invokeMember(int kind, zorbel::ScriptValue* params,
                                    const rt::Variant* last) {
  rt::Ref<rt::Object> t = target();
  std::vector<rt::Variant> args = argumentValues(params);
  if (last) args.push_back(*last);
  if (member_.empty()) return rt::callDefault(t.get(), kind, args);
  return rt::callByName(t.get(), member_, kind, args);
}

// A result wanted as an object must be one; Nothing passes.
void SvActiveX::hold(const rt::Variant& v) {
  if (!v.isObject()) rt::raise(rt::err::ObjectRequired);
  wrapped_ = v.object();
}

int32_t SvActiveX::count() {
  err_.clear();
  int32_t n = 0;
  attempt(u"ScriptValue_Count", [&] {
    rt::Ref<rt::Object> t = wrapped_ ? wrapped_ : target();
    n = rt::toLong(rt::callByName(t.get(), u"Count", rt::PropGet));
  });
  return n;
}

rt::Variant SvActiveX::value() {
  err_.clear();
  if (!parent_) return rt::Variant(wrapped_);
  // A wrapper for the result is made before the call.
  rt::Ref<SvActiveX> holder = mode_ == zorbel::ModeObject ? rt::make<SvActiveX>() : nullptr;
  rt::Variant result;
  const bool ok = attempt(u"Get_ScriptValue_Value", [&] {
    result = invokeMember(rt::PropGet, params_.get());
    if (holder) holder->hold(result);
  });
  if (holder) return rt::Variant(static_cast<rt::Object*>(holder.get()));
  return ok ? result : rt::Variant();
}

void SvActiveX::letValue(const rt::Variant& v) {
  err_.clear();
  if (!parent_) {
    if (v.isObject()) wrapped_ = v.object();
    return;
  }
  attempt(u"Let_ScriptValue_Value", [&] { invokeMember(rt::PropLet, params_.get(), &v); });
}

void SvActiveX::setValue(const rt::Variant& v) {
  err_.clear();
  attempt(u"Set_ScriptValue_Value", [&] {
    if (parent_) {
      invokeMember(rt::PropSet, params_.get(), &v);
    } else {
      hold(v);
    }
  });
}

rt::Ref<zorbel::ScriptValue> SvActiveX::attr(std::u16string_view name) {
  err_.clear();
  rt::Ref<SvActiveX> child = rt::make<SvActiveX>();
  child->initChild(this, name);
  return child;
}

rt::Ref<zorbel::ScriptValue> SvActiveX::subs(const rt::Variant& index, int32_t rf) {
  err_.clear();
  rt::Ref<SvActiveX> sibling;
  attempt(u"ScriptValue_Subs", [&] {
    if (!index.isObject()) rt::raise(rt::err::ObjectRequired);
    rt::Ref<zorbel::ScriptValue> pm = rt::queryRef<zorbel::ScriptValue>(index.object());
    if (index.object() && !pm) rt::raise(rt::err::TypeMismatch);
    sibling = rt::make<SvActiveX>();
    if (parent_) sibling->initPmChild(parent_.get(), member_, pm.get(), rf);
    else sibling->initPmChild(this, {}, pm.get(), rf);
  });
  return sibling;
}

rt::Ref<zorbel::ScriptValue> SvActiveX::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue* sv,
                                                int32_t reFlag) {
  err_.clear();
  if (reFlag < zorbel::ModeStatement || reFlag > zorbel::ModeObject) return nullptr;
  // The result object is made before the call.
  rt::Ref<SvSingle> plain = reFlag == zorbel::ModeValue ? rt::make<SvSingle>() : nullptr;
  rt::Ref<SvActiveX> wrapper = reFlag == zorbel::ModeObject ? rt::make<SvActiveX>() : nullptr;
  const bool ok = attempt(u"ScriptValue_FunCall", [&] {
    rt::Variant r = invokeMember(rt::Method, sv);
    if (plain) plain->letValue(r);
    if (wrapper) wrapper->hold(r);
  });
  if (!ok) return nullptr;
  if (plain) return plain;
  return wrapper;
}

rt::Ref<zorbel::ScriptValue> SvActiveX::objAttr(std::u16string_view name) {
  err_.clear();
  rt::Ref<SvActiveX> member = rt::make<SvActiveX>();
  member->initPmChild(this, name, nullptr, zorbel::ModeObject);
  const rt::Variant held = member->value();
  if (member->hasError()) {
    err_.copy(member->error(), u"ScriptValue_ObjAttr");
    return nullptr;
  }
  return rt::queryRef<zorbel::ScriptValue>(held.object());
}

// --- A root's members used in place ---------------------------------------
//
// Each does what a child made by attr(name) does, in the same order: the
// object is fetched before any argument is read.

rt::Ref<zorbel::ScriptValue> SvActiveX::failedChild(std::u16string_view name,
                                                    const rt::RuntimeError& e,
                                                    std::u16string_view source) {
  rt::Ref<SvActiveX> child = rt::make<SvActiveX>();
  child->initChild(this, name);
  child->err_.trap(e, source);
  return child;
}

rt::Variant SvActiveX::readMember(std::u16string_view name, rt::MemberSite& site) {
  err_.clear();
  try {
    return rt::callAt(objectIn(rt::Variant(wrapped_)), name, rt::PropGet, {}, site);
  } catch (const rt::RuntimeError&) {
    return rt::Variant();  // a child reads as empty, its failure left in its own record
  }
}

zorbel::ObjectMembers::Call SvActiveX::callMember(std::u16string_view name, rt::MemberSite& site,
                                                  zorbel::ScriptSpace*, zorbel::ScriptValue* sv,
                                                  const rt::Variant* plainArg, int32_t reFlag) {
  err_.clear();
  Call call;
  if (reFlag < zorbel::ModeStatement || reFlag > zorbel::ModeObject) return call;
  rt::Ref<SvActiveX> wrapper = reFlag == zorbel::ModeObject ? rt::make<SvActiveX>() : nullptr;
  try {
    rt::Object* t = objectIn(rt::Variant(wrapped_));
    std::vector<rt::Variant> args = plainArg ? std::vector<rt::Variant>{*plainArg} : argumentValues(sv);
    rt::Variant r = rt::callAt(t, name, rt::Method, args, site);
    if (wrapper) {
      wrapper->hold(r);
      call.holder = wrapper;
    } else if (reFlag == zorbel::ModeValue) {
      call.plain = std::move(r);
      call.isPlain = true;
    }
  } catch (const rt::RuntimeError& e) {
    call = Call{};
    call.failed = failedChild(name, e, u"ScriptValue_FunCall");
  }
  return call;
}

rt::Ref<zorbel::ScriptValue> SvActiveX::letMember(std::u16string_view name, rt::MemberSite& site,
                                                  const rt::Variant& v) {
  err_.clear();
  try {
    rt::Object* t = objectIn(rt::Variant(wrapped_));
    rt::Variant arg = v;
    rt::callAt(t, name, rt::PropLet, std::span<rt::Variant>(&arg, 1), site);
    return nullptr;
  } catch (const rt::RuntimeError& e) {
    return failedChild(name, e, u"Let_ScriptValue_Value");
  }
}

}  // namespace engine
