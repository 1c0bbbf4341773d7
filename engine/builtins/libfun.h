// The frame every built-in library function object shares.
//
// An object of a library class stands for ONE function: the registry makes
// a fresh one per lookup and lets its Key to the name as the script wrote
// it; FunCall evaluates the function that Key names (compared case-blind)
// and hands the result back in a new SvSingle.  Read as a value (x = Now),
// the function runs without arguments, as a user function read as a value
// does.  Apart from Key, Flag (12), ObjAttr (Nothing) and Error, every
// other operation records 1004 and answers nothing.  Failures of a call are
// in Error after it; read as a value, they are raised to the reader.
//
// A library class derives from LibFun<Self> (or from TextLibFun<Self>,
// textfun.h, for the libraries that take their arguments as text) and
// defines kClassName and funCall.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/pool.h"
#include "core/strutil.h"
#include "rt/dispatch.h"
#include "rt/text.h"
#include "zorbel/zorbel.h"

namespace engine {

// The source that every trapped failure of a library call is recorded under.
inline constexpr std::u16string_view kFunCallSource = u"ScriptValue_FunCall";

// The first entry of `table` whose `name` equals `key` without regard to
// case, or null: libraries test their names in a fixed order.
template <class Entry>
const Entry* findByName(std::span<const Entry> table, std::u16string_view key) {
  for (const Entry& e : table)
    if (sameName(e.name, key)) return &e;
  return nullptr;
}

// Item i (from 1) of an argument list, read in mode 1.  A list that answers
// no item has failed: its own error is raised, or else 449.
rt::Ref<zorbel::ScriptValue> argItem(zorbel::ScriptValue& list, int32_t i);
// The value of that item.
rt::Variant argValue(zorbel::ScriptValue& list, int32_t i);
// Lets `v` into item i of an argument list (a variable passed there takes
// it); what the list or the item fails with is raised.
void letArgValue(zorbel::ScriptValue& list, int32_t i, const rt::Variant& v);

template <class Self>
class LibFun : public rt::Automation<Self, zorbel::ScriptValue>, public Pooled<Self> {
 public:
  // No members of their own: everything goes through ScriptValue.
  static const rt::MemberTable<Self>& members() {
    static const rt::MemberTable<Self> table{std::u16string(Self::kClassName)};
    return table;
  }

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override {
    refuse(u"ScriptValue_Count");
    return 0;
  }
  int32_t flag() override { return zorbel::FlagCall | zorbel::FlagLib; }
  // A function that needs arguments fails here (1005), and the failure
  // reaches the statement instead of a silent 0.
  rt::Variant value() override {
    rt::Ref<zorbel::ScriptValue> result =
        static_cast<Self*>(this)->funCall(nullptr, nullptr, zorbel::ModeValue);
    if (err_.haveErr()) err_.raise();
    return result ? result->value() : rt::Variant();
  }
  void letValue(const rt::Variant&) override { refuse(u"Let_ScriptValue_Value"); }
  void setValue(const rt::Variant&) override { refuse(u"Set_ScriptValue_Value"); }
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view) override {
    refuse(u"ScriptValue_Attr");
    return nullptr;
  }
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant&, int32_t) override {
    refuse(u"ScriptValue_Subs");
    return nullptr;
  }
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return err_.info(); }
  bool hasError() override { return err_.haveErr(); }

 protected:
  LibFun() : err_(Self::kClassName) {}

  // Records 1004 (not supported) under `source`.
  void refuse(std::u16string_view source) { err_.setCode(ErrNotSupported, source); }

  ErrRecord err_;
  std::u16string key_;
};

}  // namespace engine
