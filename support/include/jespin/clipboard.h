// Private clipboard formats and text under any format number, as other
// libraries see it.  Works through the installed clipboard host
// (rt/clipboard.h).  Text is held as zero-terminated text in the system code
// page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/activation.h"
#include "rt/object.h"

namespace jespin {

class IExClipboard : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.IExClipboard");
  static constexpr rt::Guid clsid = rt::classIdOf("Jespin.ExClipboard");

  // The number of a format name (the same for the same name); 0 when refused.
  virtual int32_t registerFormat(std::u16string_view name) = 0;
  // Whether the clipboard holds data under `format`.
  virtual bool getFormat(int32_t window, int32_t format) = 0;
  // The text held under `format` up to its first zero; "" when there is none.
  virtual std::u16string dataString(int32_t window, int32_t format) = 0;
  // Holds `s` under `format`, replacing what that format held; the other
  // formats stay.
  virtual void setDataString(int32_t window, int32_t format, std::u16string_view s) = 0;
};

}  // namespace jespin
