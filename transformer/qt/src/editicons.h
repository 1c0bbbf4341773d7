// The program's own images for cut, copy and paste, for a desktop whose
// icon theme has none: the style's standard images have no such meanings.
#pragma once

#include <QIcon>
#include <string_view>

namespace marloxqt {

// Scissors ("cut"), two pages ("copy") or a clipboard with a page
// ("paste"); a null icon for any other key.
QIcon drawnEditIcon(std::u16string_view key);

}  // namespace marloxqt
