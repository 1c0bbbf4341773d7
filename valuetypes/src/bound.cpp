#include "bound.h"

#include "arguments.h"
#include "messages.h"

namespace fennick {

bool Binding::haveParent(std::u16string_view op) {
  if (parent) return true;
  record.failure(rt::err::ObjectNotSet, op);
  return false;
}

rt::Variant Binding::read() {
  constexpr std::u16string_view op = u"Get_ScriptValue_Value";
  record.clear();
  if (!parent) return rt::Variant(nullptr);
  int32_t wanted = mode == zorbel::ModeObject ? zorbel::ModeObject : zorbel::ModeValue;
  rt::Ref<zorbel::ScriptValue> result = parent->objCallGet(name, args.get(), wanted);
  if (result) return result->value();
  raiseFailure(op);
}

void Binding::takeFailure(std::u16string_view op) {
  record.clear();
  if (!record.copyFrom(*parent, op)) record.failure(rt::err::ObjectNotSet, op);
}

void Binding::raiseFailure(std::u16string_view op) {
  // The caller sees the real cause, not only that no value came back.
  takeFailure(op);
  jespin::IErrInfo& cause = record.info();
  rt::raiseWith(cause.number(), cause.description(), cause.source());
}

void Binding::assign(const rt::Variant& v, bool byReference) {
  std::u16string_view op = byReference ? u"Set_ScriptValue_Value" : u"Let_ScriptValue_Value";
  record.clear();
  if (!haveParent(op)) return;
  if (byReference)
    parent->objCallSet(name, v, args.get());
  else
    parent->objCallLet(name, v, args.get());
  record.copyFrom(*parent, op);
}

rt::Ref<zorbel::ScriptValue> Binding::memberOf(std::u16string_view member, bool objectWanted) {
  std::u16string_view op = objectWanted ? u"ScriptValue_ObjAttr" : u"ScriptValue_Attr";
  record.clear();
  if (!haveParent(op)) return nullptr;
  // Chains: this member is read as an object, and the next one is bound to
  // the object read.
  rt::Ref<zorbel::ScriptValue> object = parent->objCallGet(name, args.get(), zorbel::ModeObject);
  if (!object) {
    if (!record.copyFrom(*parent, op)) record.failure(rt::err::ObjectNotSet, op);
    return nullptr;
  }
  return objectWanted ? object->objAttr(member) : object->attr(member);
}

rt::Ref<zorbel::ScriptValue> Binding::call(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                           int32_t reFlag) {
  constexpr std::u16string_view op = u"ScriptValue_FunCall";
  record.clear();
  if (!haveParent(op)) return nullptr;
  rt::Ref<zorbel::ScriptValue> result = parent->objFunCall(name, ss, sv, reFlag);
  record.copyFrom(*parent, op);
  return result;
}

void Binding::unsupported(std::u16string_view op) {
  record.clear();
  record.code(code::IllegalCall, op);
}

// --- SvObjFns -------------------------------------------------------------

const rt::MemberTable<SvObjFns>& SvObjFns::members() {
  using Parent = rt::Ref<SvObject>;
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<SvObjFns>(u"SvObjFns")
          .prop(u"reFlag", &SvObjFns::reFlag, &SvObjFns::setReFlag)
          .method(u"Init", [](SvObjFns& f, Parent pv, S fn) { f.init(pv.get(), fn); })
          .method(u"Init2", [](SvObjFns& f, Parent pv, S fn, rt::Ref<zorbel::ScriptValue> pm) {
            f.init2(pv.get(), fn, pm.get());
          });
  return table;
}

void SvObjFns::init(SvObject* pv, std::u16string_view fn) {
  b_.parent = pv;
  b_.name = fn;
}

void SvObjFns::init2(SvObject* pv, std::u16string_view fn, zorbel::ScriptValue* fnPm) {
  init(pv, fn);
  b_.args = fnPm;
}

rt::Ref<zorbel::ScriptValue> SvObjFns::subs(const rt::Variant& index, int32_t rf) {
  b_.record.clear();
  rt::Ref<SvObjFns> indexed = rt::make<SvObjFns>();
  indexed->init2(b_.parent.get(), b_.name, scriptValueIn(index).get());
  indexed->setReFlag(rf);
  return indexed;
}

// --- SvObjAttr ------------------------------------------------------------

const rt::MemberTable<SvObjAttr>& SvObjAttr::members() {
  static const auto table =
      rt::MemberTable<SvObjAttr>(u"SvObjAttr")
          .method(u"Init", [](SvObjAttr& a, rt::Ref<SvObject> pv, std::u16string fn,
                              rt::Ref<zorbel::ScriptValue> pm,
                              int32_t rf) { a.init(pv.get(), fn, pm.get(), rf); });
  return table;
}

void SvObjAttr::init(SvObject* pv, std::u16string_view fn, zorbel::ScriptValue* pm, int32_t rf) {
  b_.parent = pv;
  b_.name = fn;
  b_.args = pm;
  b_.mode = rf;
}

rt::Ref<zorbel::ScriptValue> SvObjAttr::subs(const rt::Variant&, int32_t) {
  b_.unsupported(u"ScriptValue_Subs");
  return nullptr;
}

}  // namespace fennick
