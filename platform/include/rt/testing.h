// Helpers for tests: the error number a call raises, and late-bound calls
// with their arguments written inline.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "rt/dispatch.h"
#include "rt/error.h"

namespace rt::testing {

// The number of the runtime error `f` raises (and its description), or 0.
inline int32_t errorOf(const std::function<void()>& f, std::u16string* description = nullptr) {
  try {
    f();
  } catch (const RuntimeError& e) {
    if (description) *description = e.description();
    return e.number();
  }
  return 0;
}

inline Variant call(Object* o, std::u16string_view name, int kinds, std::vector<Variant> args = {}) {
  return callByName(o, name, kinds, args);
}

}  // namespace rt::testing
