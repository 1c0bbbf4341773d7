// The script tree's view: a right press leaves the selection where it was,
// and a right release asks for the popup at the pointer.
#pragma once

#include <QPoint>
#include <QTreeView>
#include <functional>

namespace marloxqt {

class ScriptTreeView final : public QTreeView {
 public:
  explicit ScriptTreeView(QWidget* parent = nullptr);
  // Called with the pointer's place on the screen.
  std::function<void(QPoint)> onPopup;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace marloxqt
