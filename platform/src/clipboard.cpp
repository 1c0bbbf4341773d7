#include "rt/clipboard.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>

#include "rt/text.h"

namespace rt {

namespace {

// Registered formats take the numbers the platform gives them, 0xC000 to 0xFFFF.
constexpr uint32_t kFirstRegistered = 0xC000;
constexpr uint32_t kLastRegistered = 0xFFFF;
// The platform keeps format names as atoms, which hold at most 255 characters.
constexpr size_t kLongestName = 255;

class MemoryClipboard final : public ClipboardHost {
 public:
  void* query(const Iid& iid) noexcept override { return queryAmong<ClipboardHost>(this, iid); }

  uint32_t registerFormat(std::u16string_view name) override {
    if (name.empty() || name.size() > kLongestName) return 0;
    std::u16string folded = foldCase(name);
    auto it = names_.find(folded);
    if (it != names_.end()) return it->second;
    uint32_t number = kFirstRegistered + static_cast<uint32_t>(names_.size());
    if (number > kLastRegistered) return 0;
    names_.emplace(std::move(folded), number);
    return number;
  }

  bool open(int32_t) override { return !std::exchange(open_, true); }
  bool close() override { return std::exchange(open_, false); }

  uint32_t nextFormat(uint32_t format) override {
    if (!open_ || held_.empty()) return 0;
    if (format == 0) return held_.front().first;
    auto it = find(format);
    return (it == held_.end() || ++it == held_.end()) ? 0 : it->first;
  }

  bool data(uint32_t format, std::vector<uint8_t>& out) override {
    auto it = open_ ? find(format) : held_.end();
    if (it == held_.end()) return false;
    out = it->second;
    return true;
  }

  bool setData(uint32_t format, std::vector<uint8_t> block) override {
    if (!open_ || format == 0) return false;
    auto it = find(format);
    if (it != held_.end()) it->second = std::move(block);
    else held_.emplace_back(format, std::move(block));
    return true;
  }

 private:
  using Held = std::vector<std::pair<uint32_t, std::vector<uint8_t>>>;
  Held::iterator find(uint32_t format) {
    return std::find_if(held_.begin(), held_.end(), [&](const auto& h) { return h.first == format; });
  }

  std::unordered_map<std::u16string, uint32_t> names_;
  Held held_;  // in the order the formats were first put
  bool open_ = false;
};

Ref<ClipboardHost>& installed() {
  static Ref<ClipboardHost> host = newMemoryClipboard();
  return host;
}

}  // namespace

Ref<ClipboardHost> newMemoryClipboard() { return make<MemoryClipboard>(); }

ClipboardHost& clipboardHost() { return *installed(); }

Ref<ClipboardHost> setClipboardHost(Ref<ClipboardHost> host) {
  if (!host) host = newMemoryClipboard();
  return std::exchange(installed(), std::move(host));
}

}  // namespace rt
