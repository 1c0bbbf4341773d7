#include "objectvalue.h"

#include <span>
#include <vector>

#include "arguments.h"
#include "bound.h"
#include "messages.h"
#include "scalars.h"

namespace fennick {

namespace {

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
  return Automation::query(id);
}

SvObject::SvObject() : record_(u"SvObject") {}

rt::Ref<zorbel::ScriptValue> SvObject::objFunCall(std::u16string_view fnName, zorbel::ScriptSpace*,
                                                  zorbel::ScriptValue* sv, int32_t reFlag) {
  record_.clear();
  if (reFlag < zorbel::ModeStatement || reFlag > zorbel::ModeObject) return nullptr;
  if (reFlag == zorbel::ModeObject && !held_) return nullptr;
  rt::Ref<zorbel::ScriptValue> result;
  record_.trap(u"ObjFunCall", [&] {
    std::vector<rt::Variant> args = argumentsOf(sv, fnName);
    rt::Variant r = rt::callByName(held_.get(), fnName, rt::Method, args);
    if (reFlag != zorbel::ModeStatement) result = holderOf(r, reFlag);
  });
  return result;
}

rt::Ref<zorbel::ScriptValue> SvObject::objCallGet(std::u16string_view vName,
                                                  zorbel::ScriptValue* pm, int32_t rFlag) {
  record_.clear();
  if (rFlag < zorbel::ModeStatement || rFlag > zorbel::ModeObject) return nullptr;
  rt::Ref<zorbel::ScriptValue> result;
  record_.trap(u"ObjCallGet", [&] {
    std::vector<rt::Variant> args = argumentsOf(pm, vName);
    rt::Variant r;
    if (!vName.empty())
      r = rt::callByName(held_.get(), vName, rt::PropGet, args);
    else if (!args.empty())
      r = rt::callDefault(held_.get(), rt::PropGet, args);
    else
      r = rt::Variant(held_);  // the default read without arguments is the object itself
    result = holderOf(r, rFlag == zorbel::ModeObject ? zorbel::ModeObject : zorbel::ModeValue);
  });
  return result;
}

void SvObject::objCallSet(std::u16string_view vName, const rt::Variant& rhs,
                          zorbel::ScriptValue* pm) {
  assign(vName, rhs, pm, rt::PropSet, u"ObjCallSet");
}

void SvObject::objCallLet(std::u16string_view vName, const rt::Variant& rhs,
                          zorbel::ScriptValue* pm) {
  assign(vName, rhs, pm, rt::PropLet, u"ObjCallLet");
}

void SvObject::assign(std::u16string_view vName, const rt::Variant& rhs, zorbel::ScriptValue* pm,
                      int kind, std::u16string_view op) {
  record_.clear();
  record_.trap(op, [&] {
    std::vector<rt::Variant> args = argumentsOf(pm, vName);
    args.push_back(rhs);  // the assigned value comes last
    if (vName.empty())
      rt::callDefault(held_.get(), kind, args);
    else
      rt::callByName(held_.get(), vName, kind, args);
  });
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
    held_ = v.object();
  else
    record_.code(code::IllegalCall, u"Let_ScriptValue_Value");
}

void SvObject::setValue(const rt::Variant& v) {
  record_.clear();
  record_.trap(u"Set_ScriptValue_Value", [&] {
    if (!v.isObject()) rt::raise(rt::err::ObjectRequired);
    held_ = v.object();
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
