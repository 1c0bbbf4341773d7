// Table tests of a text-gathering library: each case calls one function
// with its arguments and checks the value with its type and the error.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libtest.h"
#include "rt/text.h"

namespace enginetest {

struct Case {
  const char16_t* key;
  std::vector<rt::Variant> args;  // none: no argument object at all
  std::string value;              // as Outcome::value
  std::string error = "";         // as Outcome::error
};

// The argument object the evaluator would hand over for `args`.
rt::Ref<zorbel::ScriptValue> argsOf(const std::vector<rt::Variant>& args);

template <class Lib>
void runCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    auto f = fun<Lib>(c.key);
    rt::Ref<zorbel::ScriptValue> args = argsOf(c.args);
    Outcome o = call(*f, args.get());
    std::string label = rt::toUtf8(c.key) + "/" + std::to_string(c.args.size()) + " " + c.value;
    EXPECT_EQ(o.value, c.value) << label;
    EXPECT_EQ(o.error, c.error) << label;
  }
}

}  // namespace enginetest
