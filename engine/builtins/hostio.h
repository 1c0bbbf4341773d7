// The objects through which a script writes text and reads lines and
// characters: "Print", "OutPut" and "OutLine" (SvOutput) and "Input" and
// "GetChar" (SvInput) of the root space.  Neither touches a console: every
// character goes through the events of the host given to Init.
//
//   Print x / Print(x)   writes the text of x (OutLine adds CR LF)
//   Print = x            the same, through Value let
//   s = Input            reads a line (GetChar: a character code)
//   s = Input("p")       writes the prompt p, then reads into a new value
//
// A call traps its failures into the object's record; indexing, Value let of
// SvOutput and Value get of SvInput let a failure reach the evaluator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/hostchannel.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

// The value object an index holds: null for Nothing and for a plain value;
// another kind of object is not one (424).
inline zorbel::ScriptValue* heldValue(const rt::Variant& index) {
  if (!index.isObject() || !index.object()) return nullptr;
  auto* v = static_cast<zorbel::ScriptValue*>(index.object()->query(zorbel::ScriptValue::iid));
  if (!v) rt::raise(rt::err::ObjectRequired);
  return v;
}

// What both classes share: a name, a host, the line mode, and the
// operations neither supports.
template <class Self>
class HostIO : public rt::Automation<Self, zorbel::ScriptValue> {
 public:
  static const rt::MemberTable<Self>& members() {
    static const auto table =
        rt::MemberTable<Self>(std::u16string(Self::kClassName))
            .method(u"Init",
                    [](Self& s, rt::Ref<rt::Object> sh, std::optional<bool> oneLine) {
                      s.init(sh.get(), oneLine.value_or(false));
                    })
            .byDefault();
    return table;
  }

  // Keeps the way to the host (hostchannel.h) and the line mode.  Checks
  // nothing.
  void init(rt::Object* sh, bool oneLine) {
    rt::Ref<HostChannel> host = rt::queryRef<HostChannel>(sh);
    host_ = host ? host->link() : nullptr;
    oneLine_ = oneLine;
  }

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override { return refuse(u"ScriptValue_Count"), 0; }
  int32_t flag() override { return zorbel::FlagCall; }
  void setValue(const rt::Variant&) override { refuse(u"Set_ScriptValue_Value"); }
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view) override {
    return refuse(u"ScriptValue_Attr"), nullptr;
  }
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return err_.info(); }
  bool hasError() override { return err_.haveErr(); }

 protected:
  HostIO() : err_(Self::kClassName) {}

  void refuse(std::u16string_view source) { err_.setCode(ErrNotSupported, source); }
  // The host; an object never given one, or whose host is gone, fails as
  // a missing object.
  HostChannel& host() {
    HostChannel* h = host_ ? host_->host() : nullptr;
    if (!h) rt::raise(rt::err::ObjectNotSet);
    return *h;
  }

  ErrRecord err_;
  std::u16string key_;
  rt::Ref<HostLink> host_;
  bool oneLine_ = false;
};

class SvOutput final : public HostIO<SvOutput> {
 public:
  static constexpr std::u16string_view kClassName = u"SvOutput";

  // Records 1004: output has no value to read.
  rt::Variant value() override;
  void letValue(const rt::Variant& v) override;
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
  // Writes the text of the argument's own Value ("" with none); an argument
  // list is written as the list's value, not its items.
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;

 private:
  void writeOut(std::u16string text);
};

class SvInput final : public HostIO<SvInput> {
 public:
  static constexpr std::u16string_view kClassName = u"SvInput";

  // Reads and answers the bare line or character code.
  rt::Variant value() override;
  void letValue(const rt::Variant& v) override;
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;

 private:
  // A new typed value holding what was read (Fennick.SvString or
  // Fennick.SvInteger), made before the event is raised.
  rt::Ref<zorbel::ScriptValue> readIn();
};

}  // namespace engine
