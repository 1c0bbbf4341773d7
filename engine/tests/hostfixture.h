// A script host for tests: it records its events and runs script source.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/scripthost.h"
#include "nubrel/memstream.h"

namespace enginetest {

// Records every event as text and answers input from queues.
class Recorder final : public kestrin::ScriptHostEvents {
 public:
  std::vector<std::string> events;
  std::deque<std::u16string> lines;
  std::deque<int16_t> chars;
  std::function<void(const std::u16string&)> onInclude;

  void inputLine(std::u16string& inBuf) override;
  void inputChar(int16_t& aCode) override;
  void output(const std::u16string& s) override;
  void includeFile(const std::u16string& s) override;

  // The text of every output event so far, joined.
  std::string output() const;
};

struct HostFixture : ::testing::Test {
  rt::Ref<engine::ScriptHost> host = engine::ScriptHost::create();
  rt::Ref<Recorder> rec = rt::make<Recorder>();
  HostFixture() { host->advise(rec); }
  ~HostFixture() override {
    if (host) host->freeAll();
  }
  // Runs `source`, which must end well.
  void run(std::u16string_view source);
  // Runs `source` and answers the host's error report: "number: source".
  std::string runFailing(std::u16string_view source);
  std::string valueOf(std::u16string_view name);
};

}  // namespace enginetest
