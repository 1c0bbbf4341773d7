// What the evaluator may do with a value of one of the engine's own holder
// classes without going through the ScriptValue interface: read its plain
// value where it is (SvGeneral and SvSingle) and assign to it (SvGeneral).
// Reading in place is what value() does as long as `guard` is unmade: a
// variable's value() clears its error record, which then matters.
#pragma once

#include <span>

#include "core/errors.h"
#include "core/libname.h"
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
  static constexpr rt::Iid iid = ENGINE_IID("DirectHolder");
  virtual Direct direct() = 0;

 protected:
  ~DirectHolder() = default;
};

// A library function that can take its arguments as plain values, with no
// argument list made for them: the evaluator hands over what it computed.
// Only a function that neither looks at its argument objects nor writes
// back into them takes plain values.
class PlainCall {
 public:
  static constexpr rt::Iid iid = ENGINE_IID("PlainCall");
  // The most arguments a plain call carries.
  static constexpr size_t kMaxArgs = 10;
  // Whether this function may be called with plain values.
  virtual bool takesPlain() = 0;
  // What funCall does with an argument list of these values: false when it
  // failed (error() holds what), else the result.
  virtual bool callPlain(std::span<const rt::Variant> args, rt::Variant& result) = 0;

 protected:
  ~PlainCall() = default;
};

// What `v` allows: one query, so callers keep the answer.
inline Direct directOf(zorbel::ScriptValue* v) {
  auto* h = v ? static_cast<DirectHolder*>(v->query(DirectHolder::iid)) : nullptr;
  return h ? h->direct() : Direct{};
}

}  // namespace engine
