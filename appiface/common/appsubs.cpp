#include "appsubs.h"

#include "rt/error.h"
#include "rt/text.h"
#include "values.h"

namespace appiface {

namespace {

// The arguments of a call, in order.  Only an argument list is spread: a
// collection (a typed list) passed alone is one argument, as it is to the
// engines' own calls.
rt::Ref<jespin::IVValues> argumentsOf(zorbel::ScriptValue* sv) {
  rt::Ref<jespin::IVValues> args = newList();
  if (!sv) return args;
  const int32_t flag = sv->flag();
  if (!(flag & zorbel::FlagList) || (flag & zorbel::FlagTyped)) {
    args->add(sv->value());
    return args;
  }
  for (int32_t i = 1; i <= sv->count(); ++i) {
    rt::Ref<zorbel::ScriptValue> arg = sv->subs(rt::Variant(i), zorbel::ModeValue);
    args->add(arg ? arg->value() : rt::Variant());
  }
  return args;
}

}  // namespace

const rt::MemberTable<SvAppSubs>& SvAppSubs::members() {
  static const auto table =
      rt::MemberTable<SvAppSubs>(u"SvAppSubs")
          .method(u"Init", [](SvAppSubs& s, rt::Ref<rt::Object> p, std::u16string subName) {
            Application* app = Application::of(p.get());
            if (p && !app) rt::raise(rt::err::TypeMismatch);
            s.init(app, subName);
          });
  return table;
}

rt::Ref<SvAppSubs> SvAppSubs::bound(Application& app, std::u16string_view subName) {
  rt::Ref<SvAppSubs> subs = rt::make<SvAppSubs>();
  subs->init(&app, subName);
  return subs;
}

void SvAppSubs::init(Application* app, std::u16string_view subName) {
  app_ = app;
  subName_ = subName;
}

Application& SvAppSubs::app() {
  if (!app_) rt::raise(rt::err::ObjectNotSet);
  return *app_;
}

rt::Variant SvAppSubs::value() {
  Application& a = app();
  rt::Ref<jespin::IVValues> answer = a.answered(a.sendComm(subName_, yarrick::SaGet));
  return answer->count() != 0 ? firstAnswer(*answer) : rt::Variant(int16_t{0});
}

void SvAppSubs::letValue(const rt::Variant& v) { app().sendComm(subName_, yarrick::SaLet, {v}); }

void SvAppSubs::setValue(const rt::Variant& v) { app().sendComm(subName_, yarrick::SaSet, {v}); }

rt::Ref<zorbel::ScriptValue> SvAppSubs::attr(std::u16string_view name) {
  if (rt::equalsNoCase(name, u"Ver")) return textValue(Application::version());
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> SvAppSubs::subs(const rt::Variant& index, int32_t rf) {
  Application& a = app();
  rt::Ref<jespin::IVValues> answer = a.answered(a.sendComm(subName_, yarrick::SaGet));
  rt::Ref<zorbel::ScriptValue> holder = objectValue(firstAnswer(*answer));
  rt::Ref<zorbel::ScriptValue> item = holder->subs(index, rf);
  if (holder->hasError()) {
    jespin::IErrInfo& e = holder->error();
    rt::raiseWith(e.number(), e.description(), e.source());
  }
  return item;
}

rt::Ref<zorbel::ScriptValue> SvAppSubs::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue* sv,
                                                int32_t) {
  Application& a = app();
  rt::Ref<jespin::IVValues> answer =
      a.answered(a.sendCommVVS(subName_, yarrick::SaMethod, argumentsOf(sv)));
  switch (answer->count()) {
    case 0:
      return booleanValue(true);
    case 1:
      return answerValue(firstAnswer(*answer));
    default:
      return collectionValue(*answer);
  }
}

}  // namespace appiface
