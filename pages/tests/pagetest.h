// What the page library's tests share: a folder of pages, a page object
// whose information is recorded, an output class that records its lines,
// and page text compiled and run on a host of its own.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "halvorn/spage.h"
#include "kestrin/scripthost.h"
#include "nubrel/memstream.h"
#include "spage.h"
#include "tempdir.h"

namespace pagetest {

using jespin::test::TempDir;

// Every ShowInfo call.
class InfoLog final : public halvorn::PageEvents {
 public:
  std::vector<std::pair<int32_t, std::u16string>> calls;
  void showInfo(int32_t infoFlag, const std::u16string& strInfo) override {
    calls.emplace_back(infoFlag, strInfo);
  }
  std::vector<int32_t> kinds() const;
  // The texts of one kind.
  std::vector<std::u16string> texts(int32_t kind) const;
};

// The output name of a class of this process whose InputLine keeps every
// text it is given in recordedLines().
constexpr std::u16string_view kRecorder = u"object:PageTest.Lines";
std::vector<std::u16string>& recordedLines();

// Script output of a host, joined.
class OutputLog final : public kestrin::ScriptHostEvents {
 public:
  std::u16string text;
  void output(const std::u16string& s) override { text += s; }
};

rt::Ref<nubrel::IMemStream> newMemStream();
// Runs a compiled stream on a new host; its output, and the host's error
// number in `error` (0 when it ran well).
std::u16string runStream(nubrel::VStream& vs, int32_t* error = nullptr);

class PageTest : public ::testing::Test {
 protected:
  PageTest();
  ~PageTest() override;

  // A file in the folder, its name as the page object is given it.
  std::u16string name(const std::string& file) const { return dir.name(file); }
  void write(const std::string& file, std::string_view bytes) const;
  std::string read(const std::string& file) const { return dir.read(file); }
  // Runs `page` of the folder into `out` of the folder.
  bool run(const std::string& out, const std::string& page);
  // Runs a page whose text is `text` into "out.txt" and answers what it wrote.
  std::string output(std::string_view text);
  // Runs a page whose text is `text` into an output object, which is given
  // all that ran also when the run fails: its lines, each ended by CR LF.
  std::string shown(std::string_view text);
  // The files of the folder a run left under a temporary name.
  std::vector<std::string> temporaries() const;

  TempDir dir;
  rt::Ref<halvorn::SPage> page;
  rt::Ref<InfoLog> info;
};

}  // namespace pagetest
