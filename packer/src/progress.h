// The nested progress levels of a pack or unpack run, drawn through the work
// host's progress view: one row (a label and a bar) per level, the root
// folder, its subfolders, the file being copied.  Rows are made as the levels
// deepen and never removed; a closed level's row stays at 0 with no label
// until a level of that depth opens again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rt/object.h"
#include "rt/workhost.h"

namespace wistel {

class Progress {
 public:
  // Opens a view with `caption`.
  explicit Progress(std::u16string_view caption);
  // Closes the view if that has not been done.
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Opens a deeper level: its bar at 0 of `maximum` (1 when below 1) and
  // `label` as names are shown, then yields once.
  void push(std::u16string_view label, int64_t maximum);
  // Sets the current level's bar, then yields once.
  void setValue(int32_t value);
  // Advances the current level's bar by one; no yield.
  void addValue();
  // Closes the current level: its bar back to 0, its label emptied.
  void pop();
  void close();

 private:
  struct Row {
    std::u16string label;
    int32_t value = 0;
    int32_t maximum = 1;
  };
  void draw();

  rt::Ref<rt::ProgressView> view_;
  std::vector<Row> rows_;
  int32_t level_ = 0;
};

}  // namespace wistel
