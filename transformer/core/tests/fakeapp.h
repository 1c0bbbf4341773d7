// A fake first-edition Application, registered for this process under the
// class ID of "Yarrick.Application": its "script files" are C++ functions
// that send host commands exactly as the real one raises them (new argument
// and answer lists each time, the record cleared on every command, a
// handler's failure recorded under "SendComm", the run's last failure kept
// to its end).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "rt/variant.h"

namespace marloxtest {

class FakeApplication;

// What a fake script does while it runs.
class FakeRun {
 public:
  explicit FakeRun(FakeApplication& app) : app_(app) {}
  // Raises SptCommand; the answers, or nullopt when the handler failed
  // (recorded as the real Application records it).
  std::optional<std::vector<rt::Variant>> send(const std::u16string& name, int32_t callType,
                                               std::vector<rt::Variant> args = {});
  // A script line that failed: recorded, and the run goes on.
  void fail(int32_t number, const std::u16string& description);

 private:
  FakeApplication& app_;
};

using FakeScript = std::function<void(FakeRun&)>;

// Installs the fake for its lifetime (and takes it away again).
class FakeApplications {
 public:
  FakeApplications();
  ~FakeApplications();
  FakeApplications(const FakeApplications&) = delete;
  FakeApplications& operator=(const FakeApplications&) = delete;

  // The script run for the file named `path` (as the bridge passes it).
  void add(const std::u16string& path, FakeScript script) { scripts_[path] = std::move(script); }
  const FakeScript* find(const std::u16string& path) const;
  // How many Applications were made.
  int created = 0;

 private:
  std::map<std::u16string, FakeScript> scripts_;
};

}  // namespace marloxtest
