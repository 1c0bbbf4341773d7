#include "marloxqt/scripttreeview.h"

#include <QMouseEvent>

namespace marloxqt {

ScriptTreeView::ScriptTreeView(QWidget* parent) : QTreeView(parent) {
  setObjectName(QStringLiteral("tvObj"));
  setHeaderHidden(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void ScriptTreeView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->accept();
    return;
  }
  QTreeView::mousePressEvent(event);
}

void ScriptTreeView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->accept();
    if (onPopup) onPopup(event->globalPosition().toPoint());
    return;
  }
  QTreeView::mouseReleaseEvent(event);
}

}  // namespace marloxqt
