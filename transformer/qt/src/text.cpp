#include "marloxqt/text.h"

#include "marlox/edittext.h"

namespace marloxqt {

QString shown(std::u16string_view s) { return qs(marlox::toEditor(s)); }

}  // namespace marloxqt
