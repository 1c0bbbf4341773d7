// Every example of the language reference (docs/language.md) runs through
// zubrun and must give what the reference shows, so the reference cannot
// drift from the engine.
//
// In the reference an example is a fenced block marked `zub`; the blocks
// after it marked `input`, `output` and `error` hold what it reads, what it
// writes (line ends as LF) and the first line of its error report, which
// names the example "example.zub".  An example shows output, an error or
// both.  A block marked `zub NAME` is a file the next example uses (an
// included file), written beside it.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "child.h"
#include "rt/testing.h"

namespace {

namespace fs = std::filesystem;

struct Example {
  int line = 0;  // of its opening fence
  std::string source;
  std::vector<std::pair<std::string, std::string>> files;
  std::string input;
  std::string output;
  std::string error;
  bool shown = false;  // an output or error block follows
  bool failing = false;
};

std::vector<Example> examplesOf(const std::string& text) {
  std::vector<Example> out;
  std::vector<std::pair<std::string, std::string>> files;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.starts_with("```")) continue;
    const std::string info = line.substr(3);
    const int opened = number;
    std::string body;
    while (std::getline(in, line) && !line.starts_with("```")) {
      ++number;
      body += line + "\n";
    }
    ++number;
    if (info == "zub") {
      Example e;
      e.line = opened;
      e.source = body;
      e.files = std::move(files);
      out.push_back(std::move(e));
      files.clear();
    } else if (info.starts_with("zub ")) {
      files.emplace_back(info.substr(4), body);
    } else if (out.empty()) {
      continue;
    } else if (info == "input") {
      out.back().input = body;
    } else if (info == "output") {
      out.back().output = body;
      out.back().shown = true;
    } else if (info == "error") {
      out.back().error = body.substr(0, body.find('\n'));
      out.back().shown = out.back().failing = true;
    }
  }
  return out;
}

TEST(LanguageReference, EveryExampleGivesWhatItShows) {
  const std::vector<Example> examples = examplesOf(clitest::slurp(ZUB_LANGUAGE_DOC));
  ASSERT_GT(examples.size(), 40u);  // the parse found the examples
  for (const Example& e : examples) {
    SCOPED_TRACE("docs/language.md:" + std::to_string(e.line));
    EXPECT_TRUE(e.shown) << "the example shows neither output nor an error";
    const rt::testing::TempDir temp("zub-docs");
    const fs::path& dir = temp.path();
    for (const auto& [name, text] : e.files) {
      fs::create_directories((dir / name).parent_path());
      clitest::write(dir / name, text);
    }
    clitest::write(dir / "example.zub", e.source);
    clitest::ChildRun r;
    r.argv = {ZUBRUN, "example.zub"};
    r.folder = dir;
    r.input = e.input;
    const clitest::Result got = clitest::run(r);
    EXPECT_FALSE(got.timedOut);
    EXPECT_EQ(got.out, e.output);
    EXPECT_EQ(got.status, e.failing ? 1 : 0) << got.err;
    EXPECT_EQ(got.err.substr(0, got.err.find('\n')), e.error);
  }
}

}  // namespace
