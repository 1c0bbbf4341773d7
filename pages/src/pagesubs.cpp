#include "pagesubs.h"

#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"
#include "values.h"

namespace halvorn {

namespace {

// The arguments of a call: none, one value, or a list of them.
class Arguments {
 public:
  explicit Arguments(zorbel::ScriptValue* sv) : sv_(sv) {}

  int32_t count() const {
    if (!sv_) return 0;
    return (sv_->flag() & zorbel::FlagList) ? sv_->count() : 1;
  }
  // Argument `i` (from 1) as text; 449 when the call has no such argument.
  std::u16string text(int32_t i) const {
    if (count() < i) rt::raise(rt::err::ArgumentNotOptional);
    if (!(sv_->flag() & zorbel::FlagList)) return rt::toText(sv_->value());
    rt::Ref<zorbel::ScriptValue> arg = sv_->subs(rt::Variant(i), zorbel::ModeValue);
    return arg ? rt::toText(arg->value()) : std::u16string();
  }

 private:
  zorbel::ScriptValue* sv_;
};

SPage* pageArg(const rt::Ref<rt::Object>& o) {
  SPage* page = SPage::of(o.get());
  if (o && !page) rt::raise(rt::err::TypeMismatch);
  return page;
}

}  // namespace

// --- SvPageSubs --------------------------------------------------------------

const rt::MemberTable<SvPageSubs>& SvPageSubs::members() {
  static const auto table = rt::MemberTable<SvPageSubs>(u"SvPageSubs")
                                .method(u"Init", [](SvPageSubs& s, rt::Ref<rt::Object> page,
                                                    std::u16string subName) {
                                  s.init(pageArg(page), subName);
                                });
  return table;
}

rt::Ref<SvPageSubs> SvPageSubs::bound(SPage& page, std::u16string_view name) {
  rt::Ref<SvPageSubs> subs = rt::make<SvPageSubs>();
  subs->init(&page, name);
  return subs;
}

void SvPageSubs::init(SPage* page, std::u16string_view subName) {
  page_ = page;
  name_ = subName;
}

SPage& SvPageSubs::page() {
  if (!page_) rt::raise(rt::err::ObjectNotSet);
  return *page_;
}

rt::Ref<zorbel::ScriptSpace> SvPageSubs::space() {
  rt::Ref<kestrin::IScriptHost> host = page().host();
  rt::Ref<zorbel::ScriptSpace> space = host ? host->sSpace() : nullptr;
  if (!space) rt::raise(rt::err::ObjectNotSet);
  return space;
}

rt::Variant SvPageSubs::value() {
  rt::Ref<zorbel::ScriptValue> variable = space()->value(name_);
  return rt::Variant(static_cast<rt::Object*>(variable.get()));
}

void SvPageSubs::letValue(const rt::Variant& v) {
  rt::Ref<zorbel::ScriptValue> variable = space()->value(name_);
  if (!variable) rt::raise(rt::err::ObjectNotSet);
  if (v.isObject()) variable->setValue(v);
  else variable->letValue(v);
}

void SvPageSubs::setValue(const rt::Variant& v) {
  rt::Ref<zorbel::ScriptSpace> ss = space();
  ss->setValue(name_, objectValue(v).get());
}

rt::Ref<zorbel::ScriptValue> SvPageSubs::attr(std::u16string_view name) {
  if (rt::equalsNoCase(name, u"Ver")) return singleValue(rt::Variant(SPage::version()));
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> SvPageSubs::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue* sv,
                                                 int32_t) {
  const Arguments args(sv);
  auto is = [this](std::u16string_view n) { return rt::equalsNoCase(name_, n); };
  if (is(u"Info")) {
    page().raiseShowInfo(QIF_UserInfo, args.text(1));
    return nullptr;
  }
  if (is(u"NewPage")) return page().newPage(true);
  if (is(u"OutPage")) {
    bool ran = args.count() >= 2 && page().outPage(args.text(1), args.text(2));
    return singleValue(rt::Variant(ran));
  }
  if (is(u"PushFile")) return typedValue(u"Fennick.SvBoolean", rt::Variant(page().pushFile(args.text(1))));
  if (is(u"PopFile")) return typedValue(u"Fennick.SvBoolean", rt::Variant(page().popFile()));
  if (is(u"InfoOn") || is(u"InfoOff")) {
    page().setIsShowInfo(is(u"InfoOn"));
    return nullptr;
  }
  return typedValue(u"Fennick.SvString", rt::Variant(u"未定义"));
}

// --- SvNewPage ---------------------------------------------------------------

const rt::MemberTable<SvNewPage>& SvNewPage::members() {
  static const auto table =
      rt::MemberTable<SvNewPage>(u"SvNewPage")
          .method(u"Init", [](SvNewPage& f, rt::Ref<rt::Object> page) { f.init(pageArg(page)); });
  return table;
}

rt::Ref<SvNewPage> SvNewPage::bound(SPage& page) {
  rt::Ref<SvNewPage> f = rt::make<SvNewPage>();
  f->init(&page);
  return f;
}

rt::Ref<zorbel::ScriptValue> SvNewPage::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue*,
                                                int32_t) {
  if (!page_) rt::raise(rt::err::ObjectNotSet);
  return page_->newPage(false);
}

}  // namespace halvorn
