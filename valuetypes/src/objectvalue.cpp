#include "objectvalue.h"

#include <span>
#include <vector>

#include "arguments.h"
#include "bound.h"
#include "messages.h"
#include "scalars.h"

namespace fennick {

namespace {

constexpr std::u16string_view kObjCallSet = u"ObjCallSet";
constexpr std::u16string_view kObjCallLet = u"ObjCallLet";

// The holder of a call's result: a new SvVariant, or, when an object is
// wanted, a new SvObject (a result that is no object fails).
rt::Ref<zorbel::ScriptValue> holderOf(const rt::Variant& result, int32_t mode) {
  if (mode != zorbel::ModeObject) return newValue<SvVariant>(result);
  if (!result.isObject()) rt::raise(rt::err::ObjectRequired);
  rt::Ref<SvObject> holder = rt::make<SvObject>();
  holder->hold(result.object());
  return holder;
}

}  // namespace

const rt::MemberTable<SvObject>& SvObject::members() {
  using Sv = rt::Ref<zorbel::ScriptValue>;
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<SvObject>(u"SvObject")
          .method(u"ObjFunCall",
                  [](SvObject& o, S fnName, rt::Ref<zorbel::ScriptSpace> ss, Sv sv,
                     int32_t reFlag) { return o.objFunCall(fnName, ss.get(), sv.get(), reFlag); })
          .method(u"ObjCallSet", [](SvObject& o, S vName, const rt::Variant& rhs,
                                    Sv pm) { o.objCallSet(vName, rhs, pm.get()); })
          .method(u"ObjCallLet", [](SvObject& o, S vName, const rt::Variant& rhs,
                                    Sv pm) { o.objCallLet(vName, rhs, pm.get()); })
          .method(u"ObjCallGet", [](SvObject& o, S vName, Sv pm, int32_t rFlag) {
            return o.objCallGet(vName, pm.get(), rFlag);
          });
  return table;
}

void* SvObject::query(const rt::Iid& id) noexcept {
  if (id == iid) return this;
  if (id == zorbel::ObjectMembers::iid) return static_cast<zorbel::ObjectMembers*>(this);
  return Automation::query(id);
}

std::span<rt::Variant> SvObject::CallArgs::values(rt::Variant& one, std::vector<rt::Variant>& list,
                                                  std::u16string_view callName) const {
  if (plain) {
    one = *plain;
    return {&one, 1};
  }
  list = argumentsOf(object, callName);
  return list;
}

SvObject::SvObject() : record_(u"SvObject") {}

rt::Variant SvObject::invokeHeld(std::u16string_view name, int kinds, std::span<rt::Variant> args,
                                 rt::MemberSite* site) {
  if (site) return held_.callAt(name, kinds, args, *site);
  return rt::callByName(held_.get(), name, kinds, args);
}

bool SvObject::callHeld(std::u16string_view fnName, const CallArgs& in, int32_t reFlag,
                        rt::MemberSite* site, Result& out) {
  record_.clear();
  if (reFlag < zorbel::ModeStatement || reFlag > zorbel::ModeObject) return true;
  if (reFlag == zorbel::ModeObject && !held_) return true;
  return record_.trap(u"ObjFunCall", [&] {
    rt::Variant one;
    std::vector<rt::Variant> list;
    rt::Variant r = invokeHeld(fnName, rt::Method, in.values(one, list, fnName), site);
    if (reFlag == zorbel::ModeStatement) return;
    if (out.plainWanted && reFlag == zorbel::ModeValue && !r.isObject()) {
      out.plain = std::move(r);
      out.isPlain = true;
    } else {
      out.holder = holderOf(r, reFlag);
    }
  });
}

bool SvObject::getHeld(std::u16string_view vName, zorbel::ScriptValue* pm, int32_t rFlag,
                       rt::MemberSite* site, Result& out) {
  record_.clear();
  if (rFlag < zorbel::ModeStatement || rFlag > zorbel::ModeObject) return true;
  return record_.trap(u"ObjCallGet", [&] {
    std::vector<rt::Variant> args = argumentsOf(pm, vName);
    rt::Variant r;
    if (!vName.empty())
      r = invokeHeld(vName, rt::PropGet, args, site);
    else if (!args.empty())
      r = rt::callDefault(held_.get(), rt::PropGet, args);
    else
      r = rt::Variant(held_.ref());  // the default read without arguments is the object itself
    if (out.plainWanted && rFlag != zorbel::ModeObject) {
      out.plain = std::move(r);
      out.isPlain = true;
    } else {
      out.holder = holderOf(r, rFlag == zorbel::ModeObject ? zorbel::ModeObject : zorbel::ModeValue);
    }
  });
}

rt::Ref<zorbel::ScriptValue> SvObject::objFunCall(std::u16string_view fnName, zorbel::ScriptSpace*,
                                                  zorbel::ScriptValue* sv, int32_t reFlag) {
  Result out;
  callHeld(fnName, CallArgs{sv, nullptr}, reFlag, nullptr, out);
  return out.holder;
}

rt::Ref<zorbel::ScriptValue> SvObject::objCallGet(std::u16string_view vName,
                                                  zorbel::ScriptValue* pm, int32_t rFlag) {
  Result out;
  getHeld(vName, pm, rFlag, nullptr, out);
  return out.holder;
}

void SvObject::objCallSet(std::u16string_view vName, const rt::Variant& rhs,
                          zorbel::ScriptValue* pm) {
  assign(vName, rhs, pm, rt::PropSet, kObjCallSet, nullptr);
}

void SvObject::objCallLet(std::u16string_view vName, const rt::Variant& rhs,
                          zorbel::ScriptValue* pm) {
  assign(vName, rhs, pm, rt::PropLet, kObjCallLet, nullptr);
}

void SvObject::assign(std::u16string_view vName, const rt::Variant& rhs, zorbel::ScriptValue* pm,
                      int kind, std::u16string_view op, rt::MemberSite* site) {
  record_.clear();
  record_.trap(op, [&] {
    std::vector<rt::Variant> args = argumentsOf(pm, vName);
    args.push_back(rhs);  // the assigned value comes last
    if (vName.empty())
      rt::callDefault(held_.get(), kind, args);
    else
      invokeHeld(vName, kind, args, site);
  });
}

// --- Members reached directly --------------------------------------------

// A bound member as member() makes it, holding the failure this object
// recorded as that member copies it under `op`.
rt::Ref<zorbel::ScriptValue> SvObject::failedMember(std::u16string_view name, std::u16string_view op) {
  rt::Ref<SvObjFns> m = rt::make<SvObjFns>();
  m->init(this, name);
  m->takeFailure(op);
  return m;
}

rt::Variant SvObject::readMember(std::u16string_view name, rt::MemberSite& site) {
  Result out;
  out.plainWanted = true;
  if (!getHeld(name, nullptr, zorbel::ModeValue, &site, out)) {
    rt::Ref<SvObjFns> m = rt::make<SvObjFns>();
    m->init(this, name);
    m->raiseFailure(u"Get_ScriptValue_Value");
  }
  return std::move(out.plain);
}

zorbel::ObjectMembers::Call SvObject::callMember(std::u16string_view name, rt::MemberSite& site,
                                                 zorbel::ScriptSpace*, zorbel::ScriptValue* sv,
                                                 const rt::Variant* plainArg, int32_t reFlag) {
  Result out;
  out.plainWanted = true;
  Call call;
  if (!callHeld(name, CallArgs{sv, plainArg}, reFlag, &site, out)) {
    call.failed = failedMember(name, u"ScriptValue_FunCall");
    return call;
  }
  call.holder = std::move(out.holder);
  call.plain = std::move(out.plain);
  call.isPlain = out.isPlain;
  return call;
}

rt::Ref<zorbel::ScriptValue> SvObject::letMember(std::u16string_view name, rt::MemberSite& site,
                                                 const rt::Variant& v) {
  assign(name, v, nullptr, rt::PropLet, kObjCallLet, &site);
  return record_.haveErr() ? failedMember(name, u"Let_ScriptValue_Value") : nullptr;
}

int32_t SvObject::count() {
  record_.clear();
  int32_t n = 0;
  record_.trap(u"ScriptValue_Count",
               [&] { n = rt::toLong(rt::callByName(held_.get(), u"Count", rt::PropGet)); });
  return n;
}

void SvObject::letValue(const rt::Variant& v) {
  record_.clear();
  if (v.isObject())
    held_.take(v.object());
  else
    record_.code(code::IllegalCall, u"Let_ScriptValue_Value");
}

void SvObject::setValue(const rt::Variant& v) {
  record_.clear();
  record_.trap(u"Set_ScriptValue_Value", [&] {
    if (!v.isObject()) rt::raise(rt::err::ObjectRequired);
    held_.take(v.object());
  });
}

rt::Ref<zorbel::ScriptValue> SvObject::member(std::u16string_view name, int32_t mode) {
  record_.clear();
  rt::Ref<SvObjFns> m = rt::make<SvObjFns>();
  m->init(this, name);
  m->setReFlag(mode);
  return m;
}

rt::Ref<zorbel::ScriptValue> SvObject::attr(std::u16string_view name) {
  return member(name, zorbel::ModeValue);
}

rt::Ref<zorbel::ScriptValue> SvObject::objAttr(std::u16string_view name) {
  return member(name, zorbel::ModeObject);
}

rt::Ref<zorbel::ScriptValue> SvObject::subs(const rt::Variant& index, int32_t rf) {
  record_.clear();
  rt::Ref<zorbel::ScriptValue> bound;
  record_.trap(u"ScriptValue_Subs", [&] {
    rt::Ref<SvObjAttr> a = rt::make<SvObjAttr>();
    a->init(this, {}, scriptValueIn(index).get(), rf);
    bound = a;
  });
  return bound;
}

rt::Ref<zorbel::ScriptValue> SvObject::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue* sv,
                                               int32_t reFlag) {
  record_.clear();
  rt::Ref<SvObjAttr> a = rt::make<SvObjAttr>();
  a->init(this, {}, sv, reFlag);
  return a;
}

}  // namespace fennick
