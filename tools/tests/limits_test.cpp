// zubrun reads scripts and standard input that may come from a pipe or a
// device: what one read takes is bounded, and going past it is an error that
// says so.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "console.h"
#include "rt/error.h"
#include "rt/testing.h"
#include "scriptfile.h"

namespace {

using rt::testing::errorOf;

TEST(ZubrunLimits, ScriptFileOfEndlessBytes) {
  std::string bytes;
  std::u16string description;
  EXPECT_EQ(errorOf([&] { zubrun::readFile("/dev/zero", bytes); }, &description),
            rt::err::OutOfMemory);
  EXPECT_NE(description.find(u"[/dev/zero]超过 67108864 字节"), std::u16string::npos);
}

TEST(ZubrunLimits, ScriptFileAtTheLimitIsRead) {
  std::filesystem::path p = std::filesystem::temp_directory_path() / "zubrun-limit-test.zub";
  std::ofstream(p).put('x');
  std::filesystem::resize_file(p, zubrun::kMaxScriptBytes);
  std::string bytes;
  EXPECT_TRUE(zubrun::readFile(p.string(), bytes));
  EXPECT_EQ(bytes.size(), zubrun::kMaxScriptBytes);
  std::filesystem::remove(p);
}

TEST(ZubrunLimits, InputLineOfEndlessBytes) {
  std::FILE* zero = std::fopen("/dev/zero", "rb");
  ASSERT_NE(zero, nullptr);
  std::FILE* out = std::fopen("/dev/null", "wb");
  zubrun::Console console([](const std::u16string&) {}, zero, out);
  std::u16string line;
  EXPECT_EQ(errorOf([&] { console.inputLine(line); }), rt::err::OutOfStringSpace);
  std::fclose(zero);
  std::fclose(out);
}

}  // namespace
