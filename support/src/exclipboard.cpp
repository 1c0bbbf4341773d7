#include "exclipboard.h"

#include <algorithm>
#include <string>
#include <vector>

#include "rt/clipboard.h"
#include "rt/text.h"

namespace jespin {

namespace {

// Format numbers are 16-bit on the platform, so a walk over the held formats
// that takes longer has met a host that goes round in circles.
constexpr int kMostFormats = 0x10000;

}  // namespace

const rt::MemberTable<ExClipboard>& ExClipboard::members() {
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<ExClipboard>(u"ExClipboard")
          .method(u"RegisterFormat", [](ExClipboard& c, S name) { return c.registerFormat(name); })
          .method(u"GetFormat", &ExClipboard::getFormat)
          .get(u"DataString", &ExClipboard::dataString)
          .byDefault()
          .let(u"DataString", [](ExClipboard& c, int32_t window, int32_t format, S s) {
            c.setDataString(window, format, s);
          });
  return table;
}

int32_t ExClipboard::registerFormat(std::u16string_view name) {
  return static_cast<int32_t>(rt::clipboardHost().registerFormat(name));
}

bool ExClipboard::getFormat(int32_t window, int32_t format) {
  rt::ClipboardHost& cb = rt::clipboardHost();
  if (!cb.open(window)) return false;
  bool found = false;
  uint32_t f = cb.nextFormat(0);
  for (int steps = 0; f != 0 && steps < kMostFormats && !found; ++steps) {
    found = f == static_cast<uint32_t>(format);
    f = cb.nextFormat(f);
  }
  cb.close();
  return found;
}

std::u16string ExClipboard::dataString(int32_t window, int32_t format) {
  rt::ClipboardHost& cb = rt::clipboardHost();
  if (!cb.open(window)) return {};
  std::vector<uint8_t> block;
  bool held = cb.data(static_cast<uint32_t>(format), block);
  cb.close();
  if (!held) return {};
  // The text ends at its first zero, or with the block when another program
  // left it without one.
  auto end = std::find(block.begin(), block.end(), uint8_t{0});
  return rt::fromAnsi(std::string(block.begin(), end));
}

void ExClipboard::setDataString(int32_t window, int32_t format, std::u16string_view s) {
  std::string text = rt::toAnsi(s);
  // Twice the length plus one, as readers of the format expect, but never
  // less than the coded text and its terminator need (UTF-8 takes up to
  // three bytes for one unit).
  std::vector<uint8_t> block(std::max(2 * s.size() + 1, text.size() + 1), 0);
  std::copy(text.begin(), text.end(), block.begin());
  rt::ClipboardHost& cb = rt::clipboardHost();
  if (!cb.open(window)) return;
  cb.setData(static_cast<uint32_t>(format), std::move(block));
  cb.close();
}

}  // namespace jespin
