#include "errinfo.h"

namespace jespin {

const rt::MemberTable<ErrInfo>& ErrInfo::members() {
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<ErrInfo>(u"ErrInfo")
          .method(u"Clear", &ErrInfo::clear)
          .method(u"ReadSysErr",
                  [](ErrInfo& e, rt::Ref<rt::Object> errObj, std::optional<S> fnName) {
                    e.readSysErr(errObj.get(), fnName.value_or(S()));
                  })
          .get(u"HaveErr", &ErrInfo::haveErr)
          .byDefault()
          .prop(u"Number", &ErrInfo::number, &ErrInfo::setNumber)
          .prop(u"Description", &ErrInfo::description,
                [](ErrInfo& e, S d) { e.setDescription(d); })
          .prop(u"Source", &ErrInfo::source, [](ErrInfo& e, S s) { e.setSource(s); })
          .get(u"SourceFull", &ErrInfo::sourceFull)
          .prop(u"ParentApp", &ErrInfo::parentApp, [](ErrInfo& e, S s) { e.setParentApp(s); })
          .prop(u"ParentMod", &ErrInfo::parentMod, [](ErrInfo& e, S s) { e.setParentMod(s); });
  return table;
}

void ErrInfo::clear() {
  number_ = 0;
  source_.clear();
  description_.clear();
}

void ErrInfo::readSysErr(rt::Object* errObj, std::u16string_view fnName) {
  // Each field is read and stored in turn: a failing read leaves the fields
  // stored before it changed, and the failure goes to the caller.
  number_ = rt::toLong(rt::getProperty(errObj, u"Number"));
  std::u16string inner = rt::toText(rt::getProperty(errObj, u"Source"));
  if (fnName.empty()) {
    source_ = std::move(inner);
  } else {
    source_.assign(fnName);
    source_ += u"\r\n";
    source_ += inner;
  }
  description_ = rt::toText(rt::getProperty(errObj, u"Description"));
}

void ErrInfo::readError(int32_t number, std::u16string_view source,
                        std::u16string_view description, std::u16string_view fnName) {
  number_ = number;
  if (fnName.empty()) {
    source_.assign(source);
  } else {
    source_.assign(fnName);
    source_ += u"\r\n";
    source_ += source;
  }
  description_.assign(description);
}

std::u16string ErrInfo::source() const {
  std::u16string s;
  if (!parentApp_.empty()) s += parentApp_ + u".";
  if (!parentMod_.empty()) s += parentMod_ + u".";
  return s + source_;
}

std::u16string ErrInfo::sourceFull() const {
  return parentApp_ + u"." + parentMod_ + u"." + source_;
}

}  // namespace jespin
