// The clipboard: formats registered by name, and blocks of bytes held under
// format numbers.  Without a window system an in-process clipboard serves,
// numbering the formats it registers from 0xC000 up; the desktop program
// installs a host over the window system's clipboard.
//
// As on the platform the system was made for, the clipboard is opened before
// it is read or written and closed afterwards; reading, writing and listing
// fail while it is not open.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "rt/api.h"
#include "rt/object.h"

namespace rt {

class ClipboardHost : public virtual Object {
 public:
  static constexpr Iid iid = guidOf("rt.ClipboardHost");

  // The number of a format named `name` (the same name, without regard to
  // case, gives the same number); 0 when the name is refused (empty, or
  // longer than 255 characters).
  virtual uint32_t registerFormat(std::u16string_view name) = 0;
  // Opens the clipboard for a window (0: none); false while it is open already.
  virtual bool open(int32_t window) = 0;
  // False when it was not open.
  virtual bool close() = 0;
  // The format held after `format` (0: the first), in the order they were
  // put; 0 after the last.
  virtual uint32_t nextFormat(uint32_t format) = 0;
  // The block held under `format`; false when there is none.
  virtual bool data(uint32_t format, std::vector<uint8_t>& out) = 0;
  // Holds `block` under `format`, replacing what it held; the other formats
  // stay.  False when the clipboard is not open or the format is 0.
  virtual bool setData(uint32_t format, std::vector<uint8_t> block) = 0;
};

// A new, empty in-process clipboard.
RT_API Ref<ClipboardHost> newMemoryClipboard();

// The installed host (one in-process clipboard until another is installed).
RT_API ClipboardHost& clipboardHost();
// Installs `host`; nullptr installs a new, empty in-process clipboard.
// Returns the previous host.
RT_API Ref<ClipboardHost> setClipboardHost(Ref<ClipboardHost> host);

}  // namespace rt
