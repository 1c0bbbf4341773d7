// Text between the core (UTF-16 strings, CR LF line breaks) and Qt.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace marloxqt {

inline QString qs(std::u16string_view s) { return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size())); }
inline std::u16string us(const QString& s) { return s.toStdU16String(); }
// For labels and boxes: CR LF (and a lone CR) as Qt's line break.
QString shown(std::u16string_view s);

}  // namespace marloxqt
