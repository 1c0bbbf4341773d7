// The about box: the program's icon, title, version, what it does, the
// disclaimer, and the button "确定".
#pragma once

#include <QDialog>

namespace marloxqt {

class AboutDialog final : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace marloxqt
