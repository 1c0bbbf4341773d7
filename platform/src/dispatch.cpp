#include "rt/dispatch.h"

#include "rt/enumerator.h"

namespace rt {

namespace {

Ref<Dispatch> dispatchOf(Object* o) {
  if (!o) raise(err::ObjectNotSet);
  Ref<Dispatch> d = queryRef<Dispatch>(o);
  if (!d) raise(err::NotSupported);
  return d;
}

}  // namespace

Variant callByName(Object* o, std::u16string_view name, int kinds, std::span<Variant> args) {
  Ref<Dispatch> d = dispatchOf(o);
  DispId id = d->memberId(name);
  if (id == kDispUnknown) raise(err::NotSupported, name);
  return d->invoke(id, kinds, args);
}

Variant callAt(Object* o, std::u16string_view name, int kinds, std::span<Variant> args,
               MemberSite& site) {
  Ref<Dispatch> d = dispatchOf(o);
  const void* set = d->memberSet();
  if (!set || set != site.set) {
    DispId id = d->memberId(name);
    if (id == kDispUnknown) raise(err::NotSupported, name);
    site = MemberSite{set, id};
  }
  return d->invoke(site.id, kinds, args);
}

Variant callDefault(Object* o, int kinds, std::span<Variant> args) {
  return dispatchOf(o)->invoke(kDispValue, kinds, args);
}

Object* objectArg(const Variant& v) {
  if (!v.isObject()) raise(err::TypeMismatch);
  return v.object();
}

std::u16string typeNameOfValue(const Variant& v) {
  if (v.isObject()) {
    if (!v.object()) return u"Nothing";
    if (Ref<Dispatch> d = queryRef<Dispatch>(v.object())) return d->typeName();
    return u"Object";
  }
  return std::u16string(typeNameOf(v.type()));
}

Ref<Enumerator> enumeratorOf(Object* o) {
  if (!o) raise(err::ObjectNotSet);
  if (Ref<Enumerable> e = queryRef<Enumerable>(o)) return e->enumerate();
  if (Ref<Dispatch> d = queryRef<Dispatch>(o)) {
    // An object whose enumerator member hands out something enumerable.
    DispId id = d->memberId(u"_NewEnum");
    if (id != kDispUnknown) {
      Variant r = d->invoke(id, PropGet | Method, {});
      if (r.isObject() && r.object()) {
        if (Ref<Enumerator> en = queryRef<Enumerator>(r.object())) return en;
        if (Ref<Enumerable> e = queryRef<Enumerable>(r.object())) return e->enumerate();
      }
    }
  }
  raise(err::NotSupported, u"For Each");
}

}  // namespace rt
