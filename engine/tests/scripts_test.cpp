// Every script case of tests/scripts/<group>/ runs on an in-process host:
// it must write what its .out file holds (line ends as LF) and fail with
// the error report its .err file holds, or not fail when there is none.
// Input comes from its .in file.  A case is script source (.zub) or a
// compiled script in an object-stream file (.bin, .zbs).  zubrun runs the
// same cases (run_scripts.cmake), so both must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "console.h"
#include "core/scriptcompile.h"
#include "core/scripthost.h"
#include "runner.h"

namespace {

namespace fs = std::filesystem;

struct Case {
  std::string group;
  std::string name;
  fs::path file;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.group << "/" << c.name; }

bool isCase(const fs::path& p) {
  return p.extension() == ".zub" || p.extension() == ".bin" || p.extension() == ".zbs";
}

std::vector<Case> allCases() {
  std::vector<Case> out;
  for (const auto& group : fs::directory_iterator(ENGINE_SCRIPTS_DIR)) {
    if (!group.is_directory()) continue;
    for (const auto& f : fs::directory_iterator(group.path()))
      if (isCase(f.path()))
        out.push_back({group.path().filename().string(), f.path().stem().string(), f.path()});
  }
  std::sort(out.begin(), out.end(), [](const Case& a, const Case& b) { return a.file < b.file; });
  return out;
}

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string withLf(std::string s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i)
    if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out += s[i];
  return out;
}

fs::path beside(const fs::path& file, const char* ext) {
  fs::path p = file;
  return p.replace_extension(ext);
}

class Scripts : public ::testing::TestWithParam<Case> {};

TEST_P(Scripts, WriteTheirOutputAndReportTheirErrors) {
  const Case& c = GetParam();
  std::FILE* in = std::tmpfile();
  std::string input = readFile(beside(c.file, ".in"));
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  char* written = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&written, &size);

  rt::Ref<engine::ScriptHost> host = engine::ScriptHost::create();
  zubrun::Runner runner(rt::make<engine::ScriptCompile>(), host);
  uint32_t cookie = host->advise(rt::make<zubrun::Console>(
      [&runner](const std::u16string& file) { runner.include(file); }, in, out));
  // Run from the case's folder, so that reports name the file as written.
  const fs::path was = fs::current_path();
  fs::current_path(c.file.parent_path());
  std::string report;
  runner.run(c.file.filename().string(), report);
  fs::current_path(was);
  host->unadvise(cookie);
  host->freeAll();

  std::fclose(out);
  std::string output(written, size);
  std::free(written);
  std::fclose(in);
  EXPECT_EQ(withLf(output), readFile(beside(c.file, ".out")));
  EXPECT_EQ(report, readFile(beside(c.file, ".err")));
}

INSTANTIATE_TEST_SUITE_P(Cases, Scripts, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string n = info.param.group + "_" + info.param.name;
                           for (char& ch : n)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

}  // namespace
