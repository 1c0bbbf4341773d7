// Enumeration for For Each: collections and automation objects offer an
// `Enumerable`, which hands out a fresh `Enumerator` per loop.
#pragma once

#include "rt/api.h"
#include "rt/object.h"
#include "rt/variant.h"

namespace rt {

class Enumerator : public virtual Object {
 public:
  static constexpr Iid iid = guidOf("rt.Enumerator");
  // The next element into `out`; false at the end.
  virtual bool next(Variant& out) = 0;
};

class Enumerable : public virtual Object {
 public:
  static constexpr Iid iid = guidOf("rt.Enumerable");
  virtual Ref<Enumerator> enumerate() = 0;
};

// The enumerator of `o`: its Enumerable, or else the object its enumerator
// member hands out.  Raises 438 when `o` cannot be enumerated, 91 when it is
// nothing.
RT_API Ref<Enumerator> enumeratorOf(Object* o);

}  // namespace rt
