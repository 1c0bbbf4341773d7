// What the packer's tests share: a scratch folder, the pinned clock and
// time zone of the golden packs, hosts that record what the user would see,
// and byte helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "filepack.h"
#include "rt/clock.h"
#include "rt/testhost.h"
#include "rt/uihost.h"

namespace wistel::test {

namespace fs = std::filesystem;

// 2000-01-01 12:00 UTC, the modification time of the golden packs' files.
constexpr std::time_t kNoon2000 = 946728000;

// Bytes written as hexadecimal pairs, blanks ignored: "88 66 66 88".
std::string hex(std::string_view pairs);
// The 24 bytes of the object-stream header.
std::string streamHeader();
// A little-endian Long, and a String in UTF-8.
std::string longBytes(int32_t v);
std::string stringBytes(std::string_view utf8, int32_t units);

// Pieces of hand-made packs: a header (Copyright "C", Description "D", made
// at midnight 2000), a String of UTF-8 text, the Date of noon 2000-01-01, a
// file record with one block holding `content` (none when it is empty), a
// folder body of the records given, a subfolder record.
std::string packHeader(int32_t blk = 1024, int32_t flag = 0);
std::string packString(std::string_view utf8);
std::string noonDate();
std::string fileRecord(std::string_view name, std::string_view content);
std::string folderBody(const std::vector<std::string>& files, const std::vector<std::string>& folders = {});
std::string folderRecord(std::string_view name, const std::string& inner);
// The amplification pack: `depth` folders nested, each named with
// `nameLength` letters, holding a file "f" and then `records` folder
// records named "f" too, none of which can be made.
std::string amplificationPack(int depth, size_t nameLength, int records);

std::string readFile(const fs::path& p);
// The paths under `dir` (from it, sorted), its whole tree or its own entries.
std::vector<std::string> namesUnder(const fs::path& dir, bool wholeTree = false);
void writeFile(const fs::path& p, std::string_view bytes);
// Sets the modification (and access) time of `p` without following a link.
void setTime(const fs::path& p, std::time_t t);

// A UI host that answers every box with its default button and keeps what
// it showed.
class RecordingUiHost final : public rt::UiHost {
 public:
  struct Box {
    std::u16string prompt;
    int32_t style;
    std::u16string title;
  };
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::UiHost>(this, iid); }
  int32_t messageBox(const std::u16string& prompt, int32_t style,
                     const std::u16string& title) override {
    boxes.push_back({prompt, style, title});
    return rt::defaultAnswer(style);
  }
  std::u16string inputBox(const std::u16string&, const std::u16string&,
                          const std::u16string&) override {
    ADD_FAILURE() << "the packer asked an input box";
    return {};
  }
  void beep() override { ++beeps; }
  void yield() override { ++yields; }

  std::vector<Box> boxes;
  int beeps = 0;
  int yields = 0;
};

// The error box's text for `message`.
std::u16string errorBox(std::u16string_view message);

// A scratch folder (removed afterwards, whatever the tests left read-only),
// TZ=UTC, the clock pinned to 2000-01-01 00:00, the code page UTF-8, a
// recording UI host and a scripted work host installed.
class PackerTest : public testing::Test {
 protected:
  PackerTest();
  ~PackerTest() override;

  fs::path at(const std::string& rel) const { return root_ / rel; }
  std::u16string u(const std::string& rel) const;

  // A new FilePack whose Info has Copyright "C" and Description "D".
  rt::Ref<FilePack> newPack();
  // The error boxes shown so far (their messages without the lead).
  std::vector<std::u16string> errors() const;

  fs::path root_;
  rt::Ref<RecordingUiHost> ui_ = rt::make<RecordingUiHost>();
  rt::Ref<rt::ScriptedWorkHost> work_ = rt::make<rt::ScriptedWorkHost>();

 private:
  std::string savedTz_;
  bool hadTz_ = false;
  rt::ScopedUiHost uiScope_{ui_};
  rt::ScopedWorkHost workScope_{work_};
  rt::PinnedClock clock_;
};

}  // namespace wistel::test
