// The engine's own script values as other libraries see them.
//
//   "Kestrin.SvSingle"      a plain holder of one value (no members of its own)
//   "Kestrin.SvGeneral"     the general dynamic value and argument list
//   "Kestrin.SvCopy"        an alias that forwards to another value
//   "Kestrin.ScriptValues"  the keyed collection of script values
//
// All three values are zorbel::ScriptValue; query them for that interface.
#pragma once

#include <cstdint>
#include <string_view>

#include "rt/activation.h"
#include "rt/object.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace kestrin {

constexpr rt::Guid kSvSingleClsid = rt::classIdOf("Kestrin.SvSingle");

class ISvGeneral : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.ISvGeneral");
  static constexpr rt::Guid clsid = rt::classIdOf("Kestrin.SvGeneral");

  // Appends `sv` itself to the sub-values (under its Key when it has one
  // not yet used) and makes the value a list.
  virtual void addSubs(zorbel::ScriptValue* sv) = 0;
};

class ISvCopy : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.ISvCopy");
  static constexpr rt::Guid clsid = rt::classIdOf("Kestrin.SvCopy");

  // Names the alias and binds it to `sv` (to the value an alias `sv` stands
  // for).  Raises 5 when an unbound alias is bound to itself.
  virtual void init(std::u16string_view key, zorbel::ScriptValue* sv) = 0;
};

// Ordered, 1-based, optionally keyed (case-blind, unique) script values.
class IScriptValues : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.IScriptValues");
  static constexpr rt::Guid clsid = rt::classIdOf("Kestrin.ScriptValues");

  virtual void clear() = 0;
  virtual bool exist(std::u16string_view key) const = 0;
  // A new general value holding `value` (by reference for an object), stored
  // at the end under `key` (none when empty).  A key in use raises 457.
  virtual rt::Ref<zorbel::ScriptValue> add(const rt::Variant& value, std::u16string_view key) = 0;
  // Stores `v` itself under its Key (none when empty); false when that key
  // is in use or `v` is null.  Never raises.
  virtual bool addObj(zorbel::ScriptValue* v) = 0;
  // By key (a String) or position; null when there is none.  Never raises.
  virtual rt::Ref<zorbel::ScriptValue> item(const rt::Variant& indexKey) = 0;
  virtual int32_t count() const = 0;
  // Raises 5 for a missing key, 9 for a position out of range.
  virtual void remove(const rt::Variant& indexKey) = 0;
};

}  // namespace kestrin
