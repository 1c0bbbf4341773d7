// The root's "CreateObject" (SvCreateObj) and "New" (SvNew): script
// functions that create a component by the ProgID their argument's value
// gives.
//
//   Set o = CreateObject("Jespin.VValues")   any automation object, wrapped
//                                            in the class the type map gives
//                                            "Object" (an SvActiveX when it
//                                            gives none)
//   Set c = New("Fennick.SvCollection")      a component that is itself a
//                                            script value, as it is
//
// Each call makes a new object.  Failures are recorded under
// "ScriptValue_FunCall" and give Nothing; every operation but a call
// records 1004.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

// A new holder of `object` as CreateObject hands one out: the class the
// type map `ss` sees gives "Object".  Raises what the holder refuses.
rt::Ref<zorbel::ScriptValue> objectHolder(zorbel::ScriptSpace* ss, rt::Object* object);

// What both share: a name, and the operations neither supports.
template <class Self>
class Creator : public rt::Automation<Self, zorbel::ScriptValue> {
 public:
  static const rt::MemberTable<Self>& members() {
    static const rt::MemberTable<Self> table{std::u16string(Self::kClassName)};
    return table;
  }

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override { return refuse(u"ScriptValue_Count"), 0; }
  int32_t flag() override { return zorbel::FlagCall; }
  rt::Variant value() override {
    refuse(u"Get_ScriptValue_Value");
    return rt::Variant(int16_t{0});
  }
  void letValue(const rt::Variant&) override { refuse(u"Let_ScriptValue_Value"); }
  void setValue(const rt::Variant&) override { refuse(u"Set_ScriptValue_Value"); }
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view) override {
    return refuse(u"ScriptValue_Attr"), nullptr;
  }
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant&, int32_t) override {
    return refuse(u"ScriptValue_Subs"), nullptr;
  }
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return err_.info(); }
  bool hasError() override { return err_.haveErr(); }

 protected:
  Creator() : err_(Self::kClassName) {}

  void refuse(std::u16string_view source) { err_.setCode(ErrNotSupported, source); }

  ErrRecord err_;
  std::u16string key_;
};

class SvCreateObj final : public Creator<SvCreateObj> {
 public:
  static constexpr std::u16string_view kClassName = u"SvCreateObj";

  // The wrapper is made before the object, so that no object is made when
  // the wrapper cannot be; the type map read is the one `ss` sees.
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
};

class SvNew final : public Creator<SvNew> {
 public:
  static constexpr std::u16string_view kClassName = u"SvNew";

  // The component must be a script value; it is handed over as created.
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
};

}  // namespace engine
