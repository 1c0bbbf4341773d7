// The library's own error codes and their texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jespin/errinfo.h"

namespace fennick {

// Own codes; recorded as 0x80040000 + code.
namespace code {
constexpr int32_t IllegalCall = 1004;      // the object does not support the member
constexpr int32_t MissingArgument = 1005;  // a required argument is missing
}  // namespace code

// The message of own code `code` (string 10000 + code).  Never fails: when
// there is no such message it answers with the text of the failure instead.
std::u16string resText(int32_t code);

// Records own code `code` in `rec` under the operation `op`, without clearing
// the record first.  Raises 6 when 0x80040000 + code leaves the 32-bit range.
void setErrCode(jespin::IErrInfo& rec, int32_t code, std::u16string_view op);

}  // namespace fennick
