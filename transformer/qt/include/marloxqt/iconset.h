// The window's images by key ("new", "open", "cut", "copy", "paste",
// "save", "add", "del", "help", "saveas", "exec", "tools", "closed",
// "opened", "url"): the desktop theme's icon, else the style's own (the
// program's own drawing for cut, copy and paste).
#pragma once

#include <QIcon>
#include <string_view>

namespace marloxqt {

QIcon iconFor(std::u16string_view key);

}  // namespace marloxqt
