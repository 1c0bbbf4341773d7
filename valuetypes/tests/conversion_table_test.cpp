// The reference table of conversions, applied to Value let of the typed
// value of the same type: the stored value and its type must be what the
// conversion function gives, and a failing row must raise its error and
// leave the value as it was.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "fakes.h"
#include "oracle.h"
#include "scalars.h"

namespace {

using zorbel::ScriptValue;

rt::Ref<ScriptValue> valueFor(const std::string& fn) {
  static const std::map<std::string, std::function<rt::Ref<ScriptValue>()>> kClasses = {
      {"CInt", [] { return rt::Ref<ScriptValue>(rt::make<fennick::SvInteger>()); }},
      {"CLng", [] { return rt::Ref<ScriptValue>(rt::make<fennick::SvLong>()); }},
      {"CDbl", [] { return rt::Ref<ScriptValue>(rt::make<fennick::SvDouble>()); }},
      {"CDate", [] { return rt::Ref<ScriptValue>(rt::make<fennick::SvDate>()); }},
      {"CStr", [] { return rt::Ref<ScriptValue>(rt::make<fennick::SvString>()); }},
      {"CBool", [] { return rt::Ref<ScriptValue>(rt::make<fennick::SvBoolean>()); }},
  };
  auto it = kClasses.find(fn);
  return it == kClasses.end() ? nullptr : it->second();
}

TEST(ConversionTable, ValueLetOfEachTypedValue) {
  fennick_test::LocaleScope en(rt::LocaleId::EnglishUS);
  int checked = 0;
  for (const oracle::Row& row : oracle::read("variant-conversions.tsv")) {
    rt::Ref<ScriptValue> v = valueFor(row.fields.at(0));
    if (!v) continue;
    SCOPED_TRACE("line " + std::to_string(row.line) + ": " + row.fields[0] + " " + row.fields[1]);
    const std::string before = oracle::describe(v->value());
    const std::string& expected = row.fields.at(2);
    int error = fennick_test::errorOf([&] { v->letValue(oracle::operand(row.fields[1])); });
    if (expected.rfind("error ", 0) == 0) {
      EXPECT_EQ(error, std::stoi(expected.substr(6)));
      EXPECT_EQ(oracle::describe(v->value()), before);
    } else {
      EXPECT_EQ(error, 0);
      EXPECT_EQ(oracle::describe(v->value()), expected);
    }
    EXPECT_FALSE(v->error().haveErr());
    ++checked;
  }
  EXPECT_GT(checked, 300);
}

}  // namespace
