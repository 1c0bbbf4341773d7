// The common Open and Save dialogs and the about box in Qt.
#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

#include "marlox/ports.h"

namespace marloxqt {

// A filter "description|pattern|..." as Qt's name filters joined by ";;":
// "description (pattern)", the pattern not repeated when the description
// ends with it in brackets; "*.*" becomes "*" (so names without a dot
// show) and ";" between patterns a blank.
QString nameFilters(std::u16string_view filter);

class QtDialogs final : public marlox::DialogPort {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  std::u16string openFile(const std::u16string& fileName, const std::u16string& filter) override;
  std::u16string saveFile(const std::u16string& fileName, const std::u16string& filter) override;
  void aboutBox() override;

 private:
  QWidget* parent_;
};

}  // namespace marloxqt
