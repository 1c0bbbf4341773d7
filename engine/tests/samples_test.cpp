// The sample scripts compile, and their streams read back to the end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "rt/text.h"
#include "testsupport.h"

TEST(Samples, CompileAndReadBack) {
  int seen = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ENGINE_SAMPLES_DIR)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> recs = enginetest::compiled(rt::fromUtf8(bytes));
    ASSERT_FALSE(recs.empty());
    EXPECT_EQ(recs.back(), "end") << entry.path();
    EXPECT_GT(recs.size(), 2u) << entry.path();
    ++seen;
  }
  EXPECT_GE(seen, 4);
}
