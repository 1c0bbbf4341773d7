// The answer of a message box that is closed without a button (its escape
// key or close box): No for Yes/No, OK for OK alone, else Cancel.
#pragma once

#include <cstdint>

#include "rt/uihost.h"

namespace marlox {

inline int32_t escapeAnswer(int32_t style) {
  switch (style & 7) {
    case rt::mb::YesNo: return rt::mb::No;
    case rt::mb::OkOnly: return rt::mb::Ok;
    default: return rt::mb::Cancel;
  }
}

}  // namespace marlox
