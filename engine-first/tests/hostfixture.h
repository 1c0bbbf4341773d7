// A first-edition host for tests: it records what the script writes and
// feeds it lines one at a time, as a program that embeds it does.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "engine/hostevents.h"
#include "rt/convert.h"
#include "rt/text.h"
#include "scripthost.h"

namespace dovreltest {

inline std::string utf8(std::u16string_view s) { return rt::toUtf8(s); }

// Keeps the output; hands includes and output to the test when asked.
class Recorder final : public engine::ScriptHostEvents {
 public:
  std::string out;
  std::function<void(const std::u16string&)> onInclude;
  std::function<void()> onOutput;

  void output(const std::u16string& s) override {
    out += utf8(s);
    if (onOutput) onOutput();
  }
  void includeFile(const std::u16string& s) override {
    if (onInclude) onInclude(s);
  }
};

struct HostTest : ::testing::Test {
  HostTest();
  ~HostTest() override;

  // Feeds the lines one by one, whatever fails; the result of each.
  std::vector<int32_t> feed(std::initializer_list<std::u16string_view> lines);
  // Feeds the lines; each must end well.
  void run(std::initializer_list<std::u16string_view> lines);
  // Each line of `text` (LF between lines) fed on its own, then the end;
  // the first failure's number, 0 when none.
  int32_t script(std::u16string_view text);

  // The output so far with CR LF as LF, forgotten once read.
  std::string out();
  // The value of a top-level name, as text.
  std::string value(std::u16string_view name);
  int32_t errNumber() { return host->error().number(); }
  std::string description() { return utf8(host->error().description()); }

  rt::Ref<dovrel::ScriptHost> host = dovrel::ScriptHost::create();
  rt::Ref<Recorder> rec = rt::make<Recorder>();
};

// The number of engine error n (0x80040000 + n).
constexpr int32_t engineError(int32_t n) { return static_cast<int32_t>(0x80040000u + n); }

}  // namespace dovreltest
