#include "padleft.h"

namespace nubrel {

std::u16string padLeft(std::u16string_view text, int32_t width, std::u16string_view fill) {
  std::u16string out;
  for (int64_t i = static_cast<int64_t>(text.size()); i < width; ++i) out += fill;
  out += text;
  return out;
}

}  // namespace nubrel
