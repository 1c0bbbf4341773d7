// The function-library registry as other libraries see it.
//
//   "Kestrin.FLGeneral"  one library: zorbel::IFunLib over a range of the
//                        engine's catalogue strings and a function class
//   "Kestrin.IFunLibs"   the ordered collection of libraries the root asks
#pragma once

#include <cstdint>
#include <string_view>

#include "rt/activation.h"
#include "rt/object.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace kestrin {

class IFLGeneral : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.IFLGeneral");
  static constexpr rt::Guid clsid = rt::classIdOf("Kestrin.FLGeneral");

  // Configures the library once, before use: its function objects are made
  // from the ProgID `fnClsName`, its function names read from the catalogue
  // strings startId..endId.  A missing string (326) or a name twice in the
  // range (457) raises.
  virtual void initForRes(std::u16string_view fnClsName, int32_t startId, int32_t endId) = 0;
};

// The interface of the class IFunLibs: libraries in insertion order, keyed
// by registry name (case-blind, unique).
class IFunLibList : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.IFunLibList");
  static constexpr rt::Guid clsid = rt::classIdOf("Kestrin.IFunLibs");

  virtual void clear() = 0;
  virtual bool exist(std::u16string_view key) const = 0;
  // Stores `v`: without a key when `libName` is empty, else after letting
  // its Name to `libName`, under the name it then reports.  False when that
  // name is in use or `v` is null.  Never raises.
  virtual bool addObj(zorbel::IFunLib* v, std::u16string_view libName) = 0;
  // By key (a String) or position from 1; null when none.  Never raises.
  virtual rt::Ref<zorbel::IFunLib> item(const rt::Variant& indexKey) = 0;
  virtual int32_t count() const = 0;
  // Raises 5 for a missing key, 9 for a position out of range.
  virtual void remove(const rt::Variant& indexKey) = 0;
};

}  // namespace kestrin
