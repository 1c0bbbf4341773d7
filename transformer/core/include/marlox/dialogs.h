// The common Open and Save dialogs as the program asks for them: an empty
// filter stands for "所有文件(*.*)|*.*"; the result is "" when cancelled or
// when the dialog fails.
#pragma once

#include <string>
#include <string_view>

#include "marlox/ports.h"

namespace marlox {

std::u16string showOpenDialog(DialogPort& dialogs, std::u16string_view fileName = {},
                              std::u16string_view filter = {});
std::u16string showSaveDialog(DialogPort& dialogs, std::u16string_view fileName = {},
                              std::u16string_view filter = {});

}  // namespace marlox
