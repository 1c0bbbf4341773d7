// What `wistel list` and `wistel info` print of a pack.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "packinfo.h"
#include "reader.h"

namespace wistelcmd {

// The header fields; "password: set" or "none", never the password.
void printHeader(wistel::PackInfo& info, std::FILE* out);

// Prints every folder (its path and "/") and every file (its size, its
// modification time and its path), in pack order, as the reader meets them;
// names are shown as shownName shows them.
class Listing final : public wistel::PackVisitor {
 public:
  explicit Listing(std::FILE* out) : out_(out) {}
  void enterFolder(std::u16string_view name, int32_t files, int32_t folders, int depth) override;
  void beginFile(const wistel::FileRecord& file) override;
  void block(std::span<const uint8_t> bytes) override { size_ += static_cast<int64_t>(bytes.size()); }
  void endFile() override;
  void leaveFolder() override;

 private:
  // The path of `name` in the current folder.
  std::u16string pathOf(std::u16string_view name) const;

  std::FILE* out_;
  std::vector<std::u16string> folders_;  // the name of each open folder, the root's empty
  wistel::FileRecord file_;
  int64_t size_ = 0;
};

}  // namespace wistelcmd
