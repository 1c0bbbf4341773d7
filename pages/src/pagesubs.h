// The page functions of a running page's script.
//
// SvPageSubs is one member of a page, by name: called, it is a page
// function (Info, NewPage, OutPage, PushFile, PopFile, InfoOn, InfoOff);
// read or assigned, it is the variable of that name in the page's script
// space, so a script can set a variable on a new page before running it.
//
// SvNewPage is the function "NewPage" of a running page: a new page with
// the page's base folders and no parent.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jespin/errinfo.h"
#include "rt/dispatch.h"
#include "spage.h"
#include "zorbel/zorbel.h"

namespace halvorn {

// What both share: a key, an error record (made when first asked for) and
// no sub-values or object members.
template <class Self>
class PageValue : public rt::Automation<Self, zorbel::ScriptValue> {
 public:
  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override { return 0; }
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant&, int32_t) override { return nullptr; }
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return error_.get(u"Halvorn"); }
  bool hasError() override { return error_.haveErr(); }

 protected:
  // `className` is a literal: the record keeps it as a view.
  explicit PageValue(std::u16string_view className) : error_(className) {}

 private:
  jespin::LazyErrInfo error_;
  std::u16string key_;
};

class SvPageSubs final : public PageValue<SvPageSubs> {
 public:
  static const rt::MemberTable<SvPageSubs>& members();

  SvPageSubs() : PageValue(u"SPageSubs") {}
  static rt::Ref<SvPageSubs> bound(SPage& page, std::u16string_view name);
  void init(SPage* page, std::u16string_view subName);

  int32_t flag() override { return zorbel::FlagValue | zorbel::FlagCall; }
  // The variable itself, as an object.
  rt::Variant value() override;
  // An object is set into the variable, anything else let.
  void letValue(const rt::Variant& v) override;
  // The name is bound to a new object value holding `v`.
  void setValue(const rt::Variant& v) override;
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;

 private:
  SPage& page();
  // The page's script space; 91 when there is none.
  rt::Ref<zorbel::ScriptSpace> space();

  std::u16string name_;
  rt::Ref<SPage> page_;
};

class SvNewPage final : public PageValue<SvNewPage> {
 public:
  static const rt::MemberTable<SvNewPage>& members();

  SvNewPage() : PageValue(u"SvNewPage") {}
  static rt::Ref<SvNewPage> bound(SPage& page);
  void init(SPage* page) { page_ = page; }

  int32_t flag() override { return zorbel::FlagCall; }
  rt::Variant value() override { return rt::Variant(int16_t{0}); }
  void letValue(const rt::Variant&) override {}
  void setValue(const rt::Variant&) override {}
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view) override { return nullptr; }
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;

 private:
  rt::Ref<SPage> page_;
};

}  // namespace halvorn
