// The packer's texts, and its two boxes: the error box and the plain notice.
#pragma once

#include <functional>
#include <string>
#include <string_view>

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
constexpr std::u16string_view kNewerVersion =
    u"文件包的版本高于解包程序的版本，解包操作无法完成，请升级您的应用程序。";
}  // namespace text

// The error box: a beep, then a critical box with the lead text, an empty
// line and `message`, under `title` ("Wistel 运行错误" when empty).
void showErr(std::u16string_view message, std::u16string_view title = {});

// A box with an OK button and no icon under the packer's title.
void showNotice(std::u16string_view message);

// Runs a pack or unpack run and answers its result; a runtime error it
// raises, or running out of memory, goes to the error box and answers false.
bool runShowingErrors(const std::function<bool()>& run);

// "[name]", the way messages name files and folders.
std::u16string bracket(std::u16string_view name);

}  // namespace wistel
