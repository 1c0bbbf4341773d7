// The script interfaces shared by every script component: a script value, a
// script space (a scope of named values) and a function library.
//
// Everything a script can name or compute is a ScriptValue.  Operations report
// failures through the value's error record rather than by raising: a caller
// calls, then tests `error().haveErr()` before it uses the result.  A null
// Ref is a legal answer of attr, objAttr, subs and funCall (no value).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jespin/errinfo.h"
#include "jespin/stack.h"
#include "jespin/values.h"
#include "rt/dispatch.h"
#include "rt/object.h"
#include "rt/variant.h"

namespace zorbel {

// Capability bits of a value (ScriptValue::flag).
enum : int32_t {
  FlagValue = 1,     // carries a plain value
  FlagList = 2,      // a list: count() and subs(1..count); as an argument, an argument list
  FlagCall = 4,      // can be called with funCall
  FlagLib = 8,       // a built-in library function
  FlagGeneral = 16,  // a general dynamic value, or a host object with members by name
  FlagTyped = 64,    // a typed value of the value-type library
};

// What the caller of funCall or subs does with the result.
enum ResultMode : int32_t {
  ModeStatement = 0,  // nothing: a statement call
  ModeValue = 1,      // a value is wanted
  ModeObject = 2,     // an object is wanted
};

class ScriptSpace;

class ScriptValue : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid{0x1D6897AEA0964369ull, 0x8FEAE91BF628A0C6ull};

  // The name the value is bound under; empty for temporaries.
  virtual std::u16string key() = 0;
  virtual void setKey(std::u16string_view key) = 0;
  // Number of sub-values of a list.
  virtual int32_t count() = 0;
  virtual int32_t flag() = 0;
  // The plain value; an object reference when the value holds an object.
  virtual rt::Variant value() = 0;
  // Value assignment.
  virtual void letValue(const rt::Variant& v) = 0;
  // Reference assignment: `v` holds an object reference.
  virtual void setValue(const rt::Variant& v) = 0;
  // The named member, read for its value.
  virtual rt::Ref<ScriptValue> attr(std::u16string_view name) = 0;
  // The sub-value at an index (a number) or key (a text), or, for a callable
  // value indexed with square brackets, a Variant holding the argument object.
  virtual rt::Ref<ScriptValue> subs(const rt::Variant& index, int32_t rf) = 0;
  // Calls the value in space `ss` with the argument object `sv`: null for no
  // arguments, a value without FlagList for one, an argument list otherwise.
  virtual rt::Ref<ScriptValue> funCall(ScriptSpace* ss, ScriptValue* sv, int32_t reFlag) = 0;
  // The named member, read as an object.
  virtual rt::Ref<ScriptValue> objAttr(std::u16string_view name) = 0;
  // The record of the last operation.
  virtual jespin::IErrInfo& error() = 0;
  // The same as error().haveErr(); a class that makes its record only when
  // something fails answers without making one.
  virtual bool hasError() { return error().haveErr(); }
};

class ScriptSpace : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid{0xAFCB09364A3A49CEull, 0xA7041CE8A3553E72ull};

  virtual rt::Ref<ScriptSpace> parent() = 0;
  virtual void setParent(ScriptSpace* space) = 0;
  // The value bound to `name` as the space resolves it.
  virtual rt::Ref<ScriptValue> value(std::u16string_view name) = 0;
  // Assigns the value of `v` to the value bound to `name`.
  virtual void letValue(std::u16string_view name, ScriptValue* v) = 0;
  // Binds `name` to `v` itself, replacing what was bound; null unbinds.
  virtual void setValue(std::u16string_view name, ScriptValue* v) = 0;
  virtual bool existValue(std::u16string_view name) = 0;
  virtual bool runStop() = 0;
  virtual void setRunStop(bool stop) = 0;
  virtual int32_t errCode() = 0;
  virtual void setErrCode(int32_t code) = 0;
  virtual std::u16string errString() = 0;
  virtual void setErrString(std::u16string_view text) = 0;
  // The type map: type name to the ProgID of its value class.
  virtual rt::Ref<jespin::IVValues> typeDefs() = 0;
  // Declares a typed variable; null on failure (recorded in error()).
  virtual rt::Ref<ScriptValue> newValue(std::u16string_view name, std::u16string_view typeName) = 0;
  virtual rt::Ref<jespin::IVStack> withStack() = 0;
  virtual jespin::IErrInfo& error() = 0;
};

// What a value that wraps an automation object offers an evaluator for the
// member uses it does not hand out (o.Name read, o.Name(args) called,
// o.Name = v): the member reached directly, with its ID kept at the call
// site, and no bound member made unless something failed.  Each operation
// does what the same use of attr(name) would, and reports a failure the way
// that bound member would have recorded it.  A value that offers this is no
// list (FlagList), whose Count the evaluator reads itself.
class ObjectMembers : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid{0x6B1E0C53D0A84F27ull, 0x9C2A3E5F71B4D806ull};

  // attr(name)->value().
  virtual rt::Variant readMember(std::u16string_view name, rt::MemberSite& site) = 0;

  // What attr(name)->funCall gives: `failed` is the bound member holding
  // the failure; otherwise the result, plain when `isPlain`, else `holder`
  // (which may be null: no result).
  struct Call {
    rt::Ref<ScriptValue> failed;
    rt::Ref<ScriptValue> holder;
    rt::Variant plain;
    bool isPlain = false;
  };
  // attr(name)->funCall(ss, sv, reFlag), where `plainArg`, when not null,
  // stands for an argument object holding that one plain value.
  virtual Call callMember(std::u16string_view name, rt::MemberSite& site, ScriptSpace* ss,
                          ScriptValue* sv, const rt::Variant* plainArg, int32_t reFlag) = 0;
  // attr(name)->letValue(v): null, or the bound member holding the failure.
  virtual rt::Ref<ScriptValue> letMember(std::u16string_view name, rt::MemberSite& site,
                                         const rt::Variant& v) = 0;
};

class IFunLib : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid{0x00E0FAAC20D64575ull, 0x809235B2C45351BBull};

  virtual std::u16string name() = 0;
  virtual void setName(std::u16string_view name) = 0;
  // A callable function object for `name`, or null when the library has none.
  virtual rt::Ref<ScriptValue> fun(std::u16string_view name) = 0;
};

}  // namespace zorbel
