// The progress window: the caption, and under it a row for each level of
// the work, a label beside a bar.  Rows are added as the levels deepen, each
// below the last, and the window grows to hold them; rows are never removed.
// The window keeps to the top right corner of the screen's available area.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

class QGridLayout;
class QLabel;
class QProgressBar;

namespace wistelqt {

class QtProgressWindow final : public QWidget {
 public:
  explicit QtProgressWindow(QWidget* parent = nullptr);

  void setCaption(const std::u16string& caption);
  // Grows to `count` rows (never fewer than it has).
  void setRowCount(int32_t count);
  // Row k (from 1): the label, elided to the row's width, and the bar.
  void setRow(int32_t k, const std::u16string& label, int32_t value, int32_t maximum);
  int32_t rowCount() const { return static_cast<int32_t>(rows_.size()); }
  QLabel* label(int32_t k) const { return rows_.at(static_cast<size_t>(k - 1)).label; }
  QProgressBar* bar(int32_t k) const { return rows_.at(static_cast<size_t>(k - 1)).bar; }

 private:
  struct Row {
    QLabel* label;
    QProgressBar* bar;
  };
  // Sizes the window to its rows and moves it to the top right corner.
  void place();

  QGridLayout* grid_;
  std::vector<Row> rows_;
};

}  // namespace wistelqt
