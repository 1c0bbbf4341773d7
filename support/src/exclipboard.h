#pragma once

#include "jespin/clipboard.h"
#include "rt/dispatch.h"

namespace jespin {

class ExClipboard final : public rt::Automation<ExClipboard, IExClipboard> {
 public:
  static const rt::MemberTable<ExClipboard>& members();

  int32_t registerFormat(std::u16string_view name) override;
  bool getFormat(int32_t window, int32_t format) override;
  std::u16string dataString(int32_t window, int32_t format) override;
  void setDataString(int32_t window, int32_t format, std::u16string_view s) override;
};

}  // namespace jespin
