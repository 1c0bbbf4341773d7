// Helpers for the tests of the library function objects.
#pragma once

#include <initializer_list>
#include <string>

#include "builtins/svgeneral.h"
#include "builtins/svsingle.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace enginetest {

// An argument list as the evaluator builds it: a general value with one
// holder per argument.
rt::Ref<engine::SvGeneral> argList(std::initializer_list<rt::Variant> args);

// What a call gave: the result's type and text ("Integer 0", "Double 6.5",
// "Nothing"), and the error as "<code or number> <source>" or "".
struct Outcome {
  std::string value;
  std::string error;
};
Outcome call(zorbel::ScriptValue& fn, zorbel::ScriptValue* args);

// A new function object of library class T keyed `key`.
template <class T>
rt::Ref<T> fun(std::u16string_view key) {
  rt::Ref<T> f = rt::make<T>();
  f->setKey(key);
  return f;
}

}  // namespace enginetest
