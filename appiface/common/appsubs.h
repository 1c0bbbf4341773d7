// SvAppSubs: one host command, the value a script gets for a member of
// Application that is not one of its own.  Reading it, assigning it and
// calling it raise SptCommand through its Application and make the answer
// the result; its failures are raised to the engine, never recorded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "application.h"
#include "jespin/errinfo.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace appiface {

class SvAppSubs final : public rt::Automation<SvAppSubs, zorbel::ScriptValue> {
 public:
  static const rt::MemberTable<SvAppSubs>& members();

  SvAppSubs() : error_(u"SvAppSubs") {}
  static rt::Ref<SvAppSubs> bound(Application& app, std::u16string_view subName);
  void init(Application* app, std::u16string_view subName);

  // Its own Key, not the command's name.
  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override { return 0; }
  int32_t flag() override { return zorbel::FlagValue | zorbel::FlagCall; }
  // A read (SaGet): the first answer (an object as itself), Integer 0
  // without one.
  rt::Variant value() override;
  // An assignment (SaLet, SaSet) with `v` as the only argument.
  void letValue(const rt::Variant& v) override;
  void setValue(const rt::Variant& v) override;
  // "Ver" only.
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;
  // A read whose answer is an object, indexed.
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
  // A call (SaMethod): True without an answer, the answer in a value for
  // one, a collection of them for more.
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return error_.get(u"Yarrick"); }
  bool hasError() override { return false; }

 private:
  // 91 before Init.
  Application& app();

  rt::Ref<Application> app_;
  std::u16string subName_;
  std::u16string key_;
  jespin::LazyErrInfo error_;
};

}  // namespace appiface
