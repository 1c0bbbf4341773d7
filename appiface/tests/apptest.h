// What the interface's tests share: both editions' Applications created by
// ProgID through the build tree's registration store (their libraries
// build the same sources, so no test program can link both), a host that
// records every command and answers from a table, and a folder of scripts.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tempdir.h"
#include "yarrick/application.h"
#include "zorbel/zorbel.h"

namespace apptest {

using jespin::test::TempDir;

// The editions whose library is built.
extern const std::vector<int> kEditions;

// A new Application of `edition`, by ProgID.
rt::Ref<yarrick::IApplication> newApplication(int edition);

struct Command {
  std::u16string name;
  int32_t callType = 0;
  std::vector<rt::Variant> args;  // commParam's items in order
  bool keyed = false;             // some item had a key
};

// Records every SptCommand, then answers it with the values `answers`
// holds under its name (objects as objects).  `onCommand`, when set, runs
// between the two, and may throw or call back into the Application.
class RecordingHost : public yarrick::ApplicationEvents {
 public:
  void sptCommand(const std::u16string& commName, int32_t callType, jespin::IVValues& commParam,
                  jespin::IVValues& commReturn) override;

  // The commands but "Output", and the text of the "Output" ones joined.
  std::vector<Command> commands;
  std::u16string output;
  std::map<std::u16string, std::vector<rt::Variant>> answers;
  std::function<void(const Command&)> onCommand;
};

// An Application of the test's edition with a RecordingHost advised, and
// a folder for scripts that is its SptPath.
class AppTest : public ::testing::TestWithParam<int> {
 protected:
  AppTest();

  int edition() const { return GetParam(); }
  // The Application's script face.
  rt::Ref<zorbel::ScriptValue> face();
  // Writes a script into the folder (lines joined with CR LF).
  void write(const std::string& name, const std::vector<std::string>& lines) const;
  // Runs the lines by Execute, or written into `name` by ExecFile.
  void execute(const std::vector<std::string>& lines);
  void execFile(const std::string& name, const std::vector<std::string>& lines);
  // The record after the run: its number, and its text ("" when clear).
  int32_t number();
  std::u16string description();
  std::u16string sourceFull();

  TempDir dir;
  rt::Ref<yarrick::IApplication> app;
  rt::Ref<RecordingHost> host;
};

// The names of the recorded commands, in order.
std::vector<std::u16string> names(const std::vector<Command>& commands);

}  // namespace apptest

// A suite over every edition built.
#define APP_TEST_EDITIONS(Suite)                                \
  INSTANTIATE_TEST_SUITE_P(                                     \
      Editions, Suite, ::testing::ValuesIn(apptest::kEditions), \
      [](const ::testing::TestParamInfo<int>& i) { return "Edition" + std::to_string(i.param); })
