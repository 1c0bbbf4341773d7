// The scalar typed values: each holds one value of a fixed type and converts
// whatever is assigned to it into that type.  They do no arithmetic: the
// engine reads Value, computes, and assigns the result back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "record.h"
#include "rt/convert.h"
#include "rt/dispatch.h"
#include "rt/rings.h"
#include "zorbel/zorbel.h"

namespace fennick {

// What the seven classes share.  `Self` names the class (kClassName) and
// converts an assigned value to the stored type (convert).
template <class Self, class... MoreIfaces>
class Scalar : public rt::Automation<Self, zorbel::ScriptValue, MoreIfaces...> {
 public:
  // No members of their own: scripts reach them through ScriptValue only.
  static const rt::MemberTable<Self>& members() {
    static const rt::MemberTable<Self> table{std::u16string(Self::kClassName)};
    return table;
  }

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override { return 0; }
  int32_t flag() override { return zorbel::FlagValue; }
  rt::Variant value() override { return value_; }
  // A failed conversion raises and leaves the value as it was.
  void letValue(const rt::Variant& v) override { value_ = Self::convert(v); }
  // Only SvVariant holds object references.
  void setValue(const rt::Variant&) override {}
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view) override { return nullptr; }
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant&, int32_t) override { return nullptr; }
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace*, zorbel::ScriptValue*,
                                       int32_t) override {
    return nullptr;
  }
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return record_.info(); }
  bool hasError() override { return record_.haveErr(); }

 protected:
  explicit Scalar(rt::Variant initial) : record_(Self::kClassName), value_(std::move(initial)) {}

  ErrorRecord record_;
  std::u16string key_;
  rt::Variant value_;
};

class SvVariant final : public Scalar<SvVariant, rt::HoldsObjects> {
 public:
  static constexpr std::u16string_view kClassName = u"SvVariant";
  SvVariant() : Scalar(rt::Variant()) {}
  // Anything is kept as given; an object as a reference.
  static rt::Variant convert(const rt::Variant& v) { return v; }
  void setValue(const rt::Variant& v) override { value_ = v; }
  // An object it holds is what it holds (rt/rings.h).
  void eachHeld(rt::HeldVisitor& visit) noexcept override {
    if (value_.isObject()) visit.held(value_.object());
  }
  void letGoOfHeld() noexcept override { rt::Variant gone = std::exchange(value_, rt::Variant()); }
};

class SvLong final : public Scalar<SvLong> {
 public:
  static constexpr std::u16string_view kClassName = u"SvLong";
  SvLong() : Scalar(rt::Variant(int32_t{0})) {}
  static rt::Variant convert(const rt::Variant& v) { return rt::Variant(rt::toLong(v)); }
};

class SvInteger final : public Scalar<SvInteger> {
 public:
  static constexpr std::u16string_view kClassName = u"SvInteger";
  SvInteger() : Scalar(rt::Variant(int16_t{0})) {}
  static rt::Variant convert(const rt::Variant& v) { return rt::Variant(rt::toInteger(v)); }
};

class SvDouble final : public Scalar<SvDouble> {
 public:
  static constexpr std::u16string_view kClassName = u"SvDouble";
  SvDouble() : Scalar(rt::Variant(0.0)) {}
  static rt::Variant convert(const rt::Variant& v) { return rt::Variant(rt::toDouble(v)); }
};

class SvDate final : public Scalar<SvDate> {
 public:
  static constexpr std::u16string_view kClassName = u"SvDate";
  SvDate() : Scalar(rt::Variant(rt::Date{0})) {}
  static rt::Variant convert(const rt::Variant& v) { return rt::Variant(rt::toDate(v)); }
};

class SvBoolean final : public Scalar<SvBoolean> {
 public:
  static constexpr std::u16string_view kClassName = u"SvBoolean";
  SvBoolean() : Scalar(rt::Variant(false)) {}
  static rt::Variant convert(const rt::Variant& v) { return rt::Variant(rt::toBool(v)); }
};

// Text, with three members that read it from the front: "Length",
// "GetLine" and "GetChar".
class SvString final : public Scalar<SvString> {
 public:
  static constexpr std::u16string_view kClassName = u"SvString";
  SvString() : Scalar(rt::Variant(std::u16string())) {}
  static rt::Variant convert(const rt::Variant& v) { return rt::Variant(rt::toText(v)); }
  rt::Variant value() override;
  void letValue(const rt::Variant& v) override;
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;

 private:
  // Where the unread text starts.  GetLine and GetChar move it rather than
  // erase the front, so reading a long text piece by piece stays linear; the
  // read part is dropped when the whole value is next needed.
  size_t head_ = 0;
};

// A new value of class T holding `v`.
template <class T>
rt::Ref<T> newValue(const rt::Variant& v) {
  rt::Ref<T> r = rt::make<T>();
  r->letValue(v);
  return r;
}

}  // namespace fennick
