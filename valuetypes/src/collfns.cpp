#include "collection.h"
#include "rt/text.h"

namespace fennick {

const rt::MemberTable<SvCollFns>& SvCollFns::members() {
  static const auto table = rt::MemberTable<SvCollFns>(u"SvCollFns")
                                .method(u"Init", [](SvCollFns& f, rt::Ref<SvCollection> pv,
                                                    std::u16string fn) { f.init(pv.get(), fn); });
  return table;
}

SvCollFns::SvCollFns() : record_(u"SvCollFns") {}

void SvCollFns::init(SvCollection* pv, std::u16string_view fn) {
  coll_ = pv;
  name_ = fn;
}

rt::Ref<zorbel::ScriptValue> SvCollFns::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue* sv,
                                                int32_t) {
  if (!coll_) rt::raise(rt::err::ObjectNotSet);
  if (rt::equalsNoCase(name_, u"Add"))
    coll_->add(sv);
  else if (rt::equalsNoCase(name_, u"Remove"))
    coll_->remove(sv);
  else if (rt::equalsNoCase(name_, u"Clear"))
    coll_->clear(sv);
  else if (rt::equalsNoCase(name_, u"Exist"))
    return coll_->exist(sv);
  // A misspelt method must not pass for a call that did its work.
  else
    rt::raise(rt::err::NotSupported, name_);
  return nullptr;
}

}  // namespace fennick
