#include "marloxqt/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <utility>

#include "marloxqt/text.h"
#include "rt/text.h"

namespace marloxqt {

namespace {

constexpr uint32_t kText = 1, kUnicodeText = 13;
constexpr uint32_t kFirstRegistered = 0xC000, kLastRegistered = 0xFFFF;
constexpr size_t kLongestName = 255;
const QString kMimePrefix = QStringLiteral("application/x-zub-");

bool isText(uint32_t format) { return format == kText || format == kUnicodeText; }

QClipboard* clipboard() { return QGuiApplication::clipboard(); }

}  // namespace

uint32_t QtClipboardHost::registerFormat(std::u16string_view name) {
  if (name.empty() || name.size() > kLongestName) return 0;
  std::u16string folded = rt::foldCase(name);
  if (auto it = numbers_.find(folded); it != numbers_.end()) return it->second;
  uint32_t number = kFirstRegistered + static_cast<uint32_t>(numbers_.size());
  if (number > kLastRegistered) return 0;
  numbers_.emplace(std::move(folded), number);
  names_.emplace(number, std::u16string(name));
  return number;
}

bool QtClipboardHost::open(int32_t) { return !std::exchange(open_, true); }
bool QtClipboardHost::close() { return std::exchange(open_, false); }

QString QtClipboardHost::mimeOf(uint32_t format) const {
  if (isText(format)) return QStringLiteral("text/plain");
  auto it = names_.find(format);
  return it == names_.end() ? QString() : kMimePrefix + qs(rt::foldCase(it->second));
}

std::vector<uint32_t> QtClipboardHost::heldFormats() const {
  std::vector<uint32_t> held;
  const QMimeData* mime = clipboard()->mimeData();
  if (!mime) return held;
  if (mime->hasText()) held = {kUnicodeText, kText};
  for (const auto& [number, name] : names_)
    if (mime->hasFormat(mimeOf(number))) held.push_back(number);
  return held;
}

uint32_t QtClipboardHost::nextFormat(uint32_t format) {
  if (!open_) return 0;
  std::vector<uint32_t> held = heldFormats();
  if (format == 0) return held.empty() ? 0 : held.front();
  auto it = std::find(held.begin(), held.end(), format);
  return (it == held.end() || ++it == held.end()) ? 0 : *it;
}

bool QtClipboardHost::data(uint32_t format, std::vector<uint8_t>& out) {
  const QMimeData* mime = open_ ? clipboard()->mimeData() : nullptr;
  QString type = mimeOf(format);
  if (!mime || type.isEmpty()) return false;
  if (isText(format)) {
    if (!mime->hasText()) return false;
    // As the system's text formats hold it: code-page bytes and a zero.
    std::string bytes = rt::toAnsi(us(mime->text()));
    out.assign(bytes.begin(), bytes.end());
    out.push_back(0);
    return true;
  }
  if (!mime->hasFormat(type)) return false;
  QByteArray bytes = mime->data(type);
  out.assign(bytes.begin(), bytes.end());
  return true;
}

bool QtClipboardHost::setData(uint32_t format, std::vector<uint8_t> block) {
  QString type = mimeOf(format);
  if (!open_ || type.isEmpty()) return false;
  // The other formats stay: the new data is the old plus this one.
  auto* next = new QMimeData;
  if (const QMimeData* old = clipboard()->mimeData())
    for (const QString& f : old->formats()) next->setData(f, old->data(f));
  if (isText(format)) {
    auto end = std::find(block.begin(), block.end(), uint8_t{0});
    next->setText(qs(rt::fromAnsi(std::string(block.begin(), end))));
  } else {
    next->setData(type, QByteArray(reinterpret_cast<const char*>(block.data()), static_cast<qsizetype>(block.size())));
  }
  clipboard()->setMimeData(next);
  return true;
}

bool QtClipboardText::hasText() {
  const QMimeData* mime = clipboard()->mimeData();
  return mime && mime->hasText();
}

std::u16string QtClipboardText::text() { return us(clipboard()->text()); }

void QtClipboardText::setText(const std::u16string& text) { clipboard()->setText(qs(text)); }

}  // namespace marloxqt
