// Replays every input kept under fuzz/regressions/<target>/ (each one was a
// finding once) through its target, in every build, so that the sanitizers
// see them in CI.  A broken invariant aborts the test program.  Each
// harness's test program replays its own targets.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "targets.h"

namespace fuzz {

void PrintTo(const NamedTarget& t, std::ostream* os) { *os << t.name; }

}  // namespace fuzz

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> keptInputs(const char* target) {
  std::vector<fs::path> files;
  fs::path dir = fs::path(FUZZ_REGRESSIONS_DIR) / target;
  if (fs::is_directory(dir))
    for (const auto& e : fs::directory_iterator(dir)) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

void run(const fuzz::NamedTarget& t, std::string_view bytes) {
  t.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

class Regressions : public testing::TestWithParam<fuzz::NamedTarget> {};

TEST_P(Regressions, KeptInputsRunClean) {
  for (const fs::path& p : keptInputs(GetParam().name)) {
    SCOPED_TRACE(p.string());
    std::ifstream in(p, std::ios::binary);
    run(GetParam(), std::string(std::istreambuf_iterator<char>(in), {}));
  }
}

// The smallest inputs of every shape: none, an options byte alone, a mark.
TEST_P(Regressions, TinyInputsRunClean) {
  using namespace std::string_view_literals;
  for (std::string_view bytes :
       {""sv, "\x00"sv, "\x01"sv, "\x80"sv, "\xFF\xFE"sv, "\x00\xFF\xFE"sv})
    run(GetParam(), bytes);
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Regressions, testing::ValuesIn(fuzz::allTargets()),
                         [](const testing::TestParamInfo<fuzz::NamedTarget>& i) {
                           return std::string(i.param.name);
                         });

}  // namespace
