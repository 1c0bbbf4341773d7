// The desktop clipboard for the runtime (so a script's Jespin.ExClipboard
// and the editor share it) and for the editor's edit commands.  Formats 1
// and 13 are the clipboard's plain text; a registered format is the MIME
// type "application/x-zub-<name>".
#pragma once

#include <QString>
#include <map>
#include <string>

#include "marlox/ports.h"
#include "rt/clipboard.h"

namespace marloxqt {

class QtClipboardHost final : public rt::ClipboardHost {
 public:
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::ClipboardHost>(this, iid); }
  uint32_t registerFormat(std::u16string_view name) override;
  bool open(int32_t window) override;
  bool close() override;
  uint32_t nextFormat(uint32_t format) override;
  bool data(uint32_t format, std::vector<uint8_t>& out) override;
  bool setData(uint32_t format, std::vector<uint8_t> block) override;

  // The MIME type of a format; empty for a format it does not know.
  QString mimeOf(uint32_t format) const;

 private:
  std::vector<uint32_t> heldFormats() const;

  std::map<std::u16string, uint32_t> numbers_;  // by folded name
  std::map<uint32_t, std::u16string> names_;    // as first registered
  bool open_ = false;
};

class QtClipboardText final : public marlox::ClipboardText {
 public:
  bool hasText() override;
  std::u16string text() override;
  void setText(const std::u16string& text) override;
};

}  // namespace marloxqt
