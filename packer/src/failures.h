// The failures of packing and unpacking, each with a description that
// names what failed: the user sees it in the error box.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wistel {

// The runtime's error for a failed system call (errno `errnum`; `missing`
// is the number for a name that is not there), naming `shown`.
[[noreturn]] void raiseSystem(int errnum, int32_t missing, std::u16string_view shown);

// A run refused for the reason `description` says.
[[noreturn]] void refuse(std::u16string description);

// A pack refused as damaged, saying why.
[[noreturn]] void raiseDamaged(std::u16string_view why);

}  // namespace wistel
