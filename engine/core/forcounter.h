// The test and the step of a For loop's pass, in both editions: the loop
// goes on while its variable is at most the end (at least, for a step of 0
// or less), compared as variants in text mode, and the step is added to
// the variable by variant addition.  The variable is read again for every
// test, so an assignment to it inside the loop moves the loop.
#pragma once

#include <cstdint>

#include "builtins/svgeneral.h"
#include "core/direct.h"
#include "rt/error.h"
#include "rt/ops.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace engine {

class ForCounter {
 public:
  ForCounter(zorbel::ScriptValue& variable, int32_t last, int32_t step)
      : v_(variable), direct_(directOf(&variable)), last_(last), step_(step), end_(last), by_(step) {}

  // The variable has passed the end: the loop is over.
  [[gnu::always_inline]] bool pastEnd() {
    const rt::Variant& v = current();
    if (v.type() == rt::VT::Long) return step_ > 0 ? v.longValue() > last_ : v.longValue() < last_;
    const rt::Cmp c = rt::compare(v, end_, rt::CompareMode::Text);
    if (c == rt::Cmp::Null) rt::raise(rt::err::InvalidUseOfNull);
    // A step of 0 runs while the variable is at or above the end.
    return c == (step_ > 0 ? rt::Cmp::Greater : rt::Cmp::Less);
  }

  // Adds the step to the variable.  False when the variable refused the
  // new value, its record telling why.
  [[gnu::always_inline]] bool step() {
    if (direct_.variable) {
      direct_.variable->assign(next(current()));
      return true;
    }
    v_.letValue(next(current()));
    return !v_.hasError();
  }

 private:
  // A plain variable, the common case, is read in place and assigned
  // directly, as value() and letValue would do.
  [[gnu::always_inline]] const rt::Variant& current() {
    if (const rt::Variant* held = direct_.peek()) return *held;
    return copy_ = v_.value();
  }

  // A whole-number variable is counted without the general Variant
  // operations; the results are the same.
  [[gnu::always_inline]] rt::Variant next(const rt::Variant& v) const {
    if (v.type() == rt::VT::Long) {
      const int64_t n = int64_t{v.longValue()} + step_;
      if (n >= INT32_MIN && n <= INT32_MAX) return rt::Variant(static_cast<int32_t>(n));
    }
    return rt::opAdd(v, by_);
  }

  zorbel::ScriptValue& v_;
  const Direct direct_;
  rt::Variant copy_;
  int32_t last_;
  int32_t step_;
  rt::Variant end_;
  rt::Variant by_;
};

}  // namespace engine
