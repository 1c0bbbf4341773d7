// Late-bound members shared by the classes of the library.
#pragma once

#include <cstdint>
#include <string>

#include "nubrel/filestreams.h"
#include "nubrel/vstream.h"
#include "rt/dispatch.h"

namespace nubrel {

// Interface I of an object argument: Nothing raises 91, a value that is no
// object 13, an object without I 430.
template <class I>
I& interfaceArg(const rt::Variant& v, std::u16string_view what) {
  rt::Object* o = rt::objectArg(v);
  if (!o) rt::raise(rt::err::ObjectNotSet);
  auto* p = static_cast<I*>(o->query(I::iid));
  if (!p)
    rt::raise(rt::err::NoAutomation, rt::typeNameOfValue(v) + u" 不是 " + std::u16string(what));
  return *p;
}

// The VStream members, for a class T that implements VStream.
template <class T>
rt::MemberTable<T> streamMembers(std::u16string className) {
  using S = std::u16string;
  return std::move(rt::MemberTable<T>(std::move(className))
                       .get(u"dir", [](T& s) { return static_cast<int32_t>(s.dir()); })
                       .get(u"EOF", [](T& s) { return s.eof(); })
                       .let(u"VString", [](T& s, S v) { s.setVString(v); })
                       .get(u"VString", [](T& s) { return s.vString(); })
                       .let(u"VByte", [](T& s, uint8_t v) { s.setVByte(v); })
                       .get(u"VByte", [](T& s) { return s.vByte(); })
                       .let(u"VBytes", [](T& s, const rt::Variant& v) { s.setVBytes(v); })
                       .get(u"VBytes", [](T& s) { return s.vBytes(); })
                       .let(u"VInteger", [](T& s, int16_t v) { s.setVInteger(v); })
                       .get(u"VInteger", [](T& s) { return s.vInteger(); })
                       .let(u"VLong", [](T& s, int32_t v) { s.setVLong(v); })
                       .get(u"VLong", [](T& s) { return s.vLong(); })
                       .let(u"VDouble", [](T& s, double v) { s.setVDouble(v); })
                       .get(u"VDouble", [](T& s) { return s.vDouble(); })
                       .let(u"VDate", [](T& s, rt::Date v) { s.setVDate(v); })
                       .get(u"VDate", [](T& s) { return s.vDate(); })
                       .set(u"VObject",
                            [](T& s, rt::Variant& obj) {
                              s.setVObject(&interfaceArg<StreamEnable>(obj, u"StreamEnable"));
                            })
                       .get(u"VObject", [](T& s) { return rt::Variant(s.vObject()); }));
}

// The members of the two file streams, added to `t`.
template <class T>
rt::MemberTable<T> fileMembers(rt::MemberTable<T> t) {
  return std::move(
      t.method(u"OpenStream", [](T& s, std::u16string fn,
                                 int32_t d) { return s.openStream(fn, static_cast<StreamDir>(d)); })
          .method(u"CloseStream", [](T& s) { return s.closeStream(); })
          .get(u"ErrInfo", [](T& s) { return s.errInfo(); }));
}

// The StreamEnable members, for a class T that implements StreamEnable.
template <class T>
rt::MemberTable<T> streamEnableMembers(std::u16string className) {
  return std::move(rt::MemberTable<T>(std::move(className))
                       .get(u"Ver", [](T& o) { return o.ver(); })
                       .let(u"Ver", [](T& o, int32_t v) { o.setVer(v); })
                       .get(u"ClassName", [](T& o) { return o.className(); })
                       .method(u"StreamIO", [](T& o, rt::Variant& vs) {
                         o.streamIO(interfaceArg<VStream>(vs, u"VStream"));
                       }));
}

}  // namespace nubrel
