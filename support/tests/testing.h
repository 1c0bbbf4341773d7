// Helpers shared by the library's tests.
#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

#include "rt/dispatch.h"
#include "rt/error.h"

namespace testing_jespin {

// The number of the runtime error `f` raises, 0 when it raises none.
template <class F>
int errorOf(F&& f) {
  try {
    f();
  } catch (const rt::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

// A late-bound call with arguments given in place.
inline rt::Variant call(rt::Object* o, std::u16string_view name, int kinds,
                        std::initializer_list<rt::Variant> args = {}) {
  std::vector<rt::Variant> slots(args);
  return rt::callByName(o, name, kinds, slots);
}

inline rt::Variant callValue(rt::Object* o, int kinds, std::initializer_list<rt::Variant> args = {}) {
  std::vector<rt::Variant> slots(args);
  return rt::callDefault(o, kinds, slots);
}

inline rt::Variant text(std::u16string_view s) { return rt::Variant(s); }
inline rt::Variant num(int32_t n) { return rt::Variant(n); }

}  // namespace testing_jespin
