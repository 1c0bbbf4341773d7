#include "progress.h"

#include <algorithm>
#include <limits>

#include "names.h"
#include "rt/uihost.h"

namespace wistel {

Progress::Progress(std::u16string_view caption) : view_(rt::workHost().openProgress()) {
  view_->setCaption(std::u16string(caption));
}

Progress::~Progress() { close(); }

void Progress::close() {
  if (!view_) return;
  rt::Ref<rt::ProgressView> view = std::move(view_);
  view->close();
}

void Progress::draw() {
  if (!view_ || level_ < 1) return;
  const Row& r = rows_[static_cast<size_t>(level_ - 1)];
  view_->setRow(level_, r.label, r.value, r.maximum);
}

void Progress::push(std::u16string_view label, int64_t maximum) {
  ++level_;
  if (level_ > static_cast<int32_t>(rows_.size())) {
    rows_.resize(static_cast<size_t>(level_));
    if (view_) view_->setRowCount(level_);
  }
  constexpr int64_t kLongMax = std::numeric_limits<int32_t>::max();
  rows_[static_cast<size_t>(level_ - 1)] =
      Row{shownName(label), 0, static_cast<int32_t>(std::clamp<int64_t>(maximum, 1, kLongMax))};
  draw();
  rt::uiHost().yield();
}

void Progress::setValue(int32_t value) {
  if (level_ < 1) return;
  rows_[static_cast<size_t>(level_ - 1)].value = value;
  draw();
  rt::uiHost().yield();
}

void Progress::addValue() {
  if (level_ < 1) return;
  int32_t& v = rows_[static_cast<size_t>(level_ - 1)].value;
  if (v < std::numeric_limits<int32_t>::max()) ++v;
  draw();
}

void Progress::pop() {
  if (level_ < 1) return;
  Row& r = rows_[static_cast<size_t>(level_ - 1)];
  r.value = 0;
  r.label.clear();
  draw();
  --level_;
}

}  // namespace wistel
