// What the evaluator may do with a value of one of the engine's own holder
// classes without going through the ScriptValue interface: read its plain
// value where it is (SvGeneral and SvSingle) and assign to it (SvGeneral).
// Reading in place is what value() does as long as `guard` is unmade: a
// variable's value() clears its error record, which then matters.
#pragma once

#include "core/errors.h"
#include "rt/object.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace engine {

class SvGeneral;

// A holder that takes an assigned value as letValue would, without running
// anything, when its state allows (a user function's result slot); false,
// and `v` untouched, when it does not.
class QuietTarget {
 public:
  virtual bool assignQuietly(rt::Variant& v) = 0;

 protected:
  ~QuietTarget() = default;
};

struct Direct {
  const rt::Variant* held = nullptr;  // null: not one of the engine's holders
  const ErrRecord* guard = nullptr;
  SvGeneral* variable = nullptr;
  QuietTarget* target = nullptr;  // a holder other than a variable that takes values

  // The value as value() gives it, without a copy; null when reading must
  // go through value().
  const rt::Variant* peek() const { return held && !(guard && guard->made()) ? held : nullptr; }
};

// The engine's holder classes answer this interface (under an identifier
// no other library knows), so that one query tells what may be done.
class DirectHolder {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Kestrin.DirectHolder");
  virtual Direct direct() = 0;

 protected:
  ~DirectHolder() = default;
};

// What `v` allows: one query, so callers keep the answer.
inline Direct directOf(zorbel::ScriptValue* v) {
  auto* h = v ? static_cast<DirectHolder*>(v->query(DirectHolder::iid)) : nullptr;
  return h ? h->direct() : Direct{};
}

}  // namespace engine
