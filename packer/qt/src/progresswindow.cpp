#include "wistelqt/progresswindow.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <algorithm>

namespace wistelqt {

namespace {

constexpr int kLabelWidth = 240;
constexpr int kBarWidth = 320;

}  // namespace

QtProgressWindow::QtProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      grid_(new QGridLayout(this)) {
  setWindowTitle(QStringLiteral("DoInfo"));  // the packer gives its own caption
  // The window is as large as its rows: it grows as rows are added.
  grid_->setSizeConstraint(QLayout::SetFixedSize);
  grid_->setColumnMinimumWidth(0, kLabelWidth);
  grid_->setColumnMinimumWidth(1, kBarWidth);
  place();
}

void QtProgressWindow::setCaption(const std::u16string& caption) {
  setWindowTitle(QString::fromStdU16String(caption));
}

void QtProgressWindow::setRowCount(int32_t count) {
  if (count <= rowCount()) return;
  while (rowCount() < count) {
    auto* label = new QLabel(this);
    label->setFixedWidth(kLabelWidth);
    auto* bar = new QProgressBar(this);
    bar->setFixedWidth(kBarWidth);
    bar->setRange(0, 1);
    bar->setValue(0);
    int row = rowCount();
    grid_->addWidget(label, row, 0);
    grid_->addWidget(bar, row, 1);
    // Widgets added to a window on screen show only when asked to.
    label->show();
    bar->show();
    rows_.push_back(Row{label, bar});
  }
  place();
}

void QtProgressWindow::setRow(int32_t k, const std::u16string& label, int32_t value,
                              int32_t maximum) {
  if (k < 1 || k > rowCount()) return;
  const Row& r = rows_[static_cast<size_t>(k - 1)];
  QString text = QString::fromStdU16String(label);
  r.label->setText(r.label->fontMetrics().elidedText(text, Qt::ElideMiddle, kLabelWidth));
  r.label->setToolTip(text);
  int top = std::max(1, maximum);
  r.bar->setMaximum(top);
  r.bar->setValue(std::clamp(value, 0, top));
}

void QtProgressWindow::place() {
  grid_->activate();
  adjustSize();
  QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  QRect area = s->availableGeometry();
  // The frame's top right corner on the area's.
  int frameExtra = frameGeometry().width() - width();
  move(area.x() + area.width() - width() - frameExtra, area.y());
}

}  // namespace wistelqt
