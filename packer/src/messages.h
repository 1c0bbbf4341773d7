// The packer's texts, and its two boxes: the error box and the plain notice.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "names.h"

namespace wistel {

namespace text {
// The packer's title, the default title of its boxes.
constexpr std::u16string_view kTitle = u"Wistel";
// The notice and description a pack gets when its host set none.
constexpr std::u16string_view kCopyright = u"版权所有 (C) Zub 项目";
constexpr std::u16string_view kDescription = u"Quarrin系统文件包(Quarrin FilePack)";

constexpr std::u16string_view kPacking = u"正在打包...";
constexpr std::u16string_view kUnpacking = u"正在展开包...";
constexpr std::u16string_view kRootLabel = u"/";

constexpr std::u16string_view kPasswordCaption = u"录入口令";
constexpr std::u16string_view kPasswordPrompt = u"正在解包的文件要求口令，请录入：";
constexpr std::u16string_view kBadPassword = u"口令无效，请重新录入。";
constexpr std::u16string_view kOldPackLeftOut = u"以下文件是被替换的旧文件包，没有打包：";
constexpr std::u16string_view kNewerVersion =
    u"文件包的版本高于解包程序的版本，解包操作无法完成，请升级您的应用程序。";
}  // namespace text

// The error box: a beep, then a critical box with the lead text, an empty
// line and `message` (when empty, the description of the failure being
// handled), under `title` ("Wistel 运行错误" when empty).
void showErr(std::u16string_view message, std::u16string_view title = {});

// A box with an OK button and no icon under the packer's title.
void showNotice(std::u16string_view message);

// Runs a pack or unpack run and answers its result; a runtime error it
// raises, or running out of memory, goes to the error box (as the failure
// at hand) and answers false.
bool runShowingErrors(const std::function<bool()>& run);

// "[name]", the way messages name files and folders (as shownName shows it).
std::u16string bracket(std::u16string_view name);

// The files and folders a closing message names: every one is counted, the
// first few are kept (as shownName shows them), so the list takes the same
// memory however many there are.
class NameList {
 public:
  // Counts one more; `path()` gives its path, asked only while there is room.
  template <class Path>
  void add(Path&& path) {
    if (++count_ <= kKept) kept_.push_back(shownName(path()));
  }
  bool empty() const { return count_ == 0; }
  // `lead`, then a line for each name kept, then "……共 N 个" when there
  // were more.
  std::u16string message(std::u16string_view lead) const;

 private:
  static constexpr uint64_t kKept = 20;
  std::vector<std::u16string> kept_;
  uint64_t count_ = 0;
};

}  // namespace wistel
