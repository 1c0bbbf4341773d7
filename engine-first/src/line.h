// One line of a script as the first edition keeps it: its tokens (defines
// expanded, numbered with its source line), shared by every block and
// function that stores it, and what running it the first time worked out
// of them.
//
// A line that a loop or a function replays runs again and again; its
// statement's tree, or the header of the block statement it opens, is
// worked out on its first run and kept on the line, so a later run does
// only what running needs.  What is kept depends on nothing but the
// tokens, so it is the same whatever runs the line: nothing observable
// changes, a line that never runs is never looked at, and one that fails
// to be worked out keeps nothing and fails the same way next time.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/expitems.h"
#include "rt/object.h"

namespace dovrel {

// What a kind of executor works out of a line.  Each kind has its own tag.
class LineCache {
 public:
  virtual ~LineCache() = default;
  virtual int kind() const = 0;
};

class Line final : public rt::Object {
 public:
  explicit Line(rt::Ref<engine::ExpItems> items) : items_(std::move(items)) {}

  engine::ExpItems& items() { return *items_; }
  const engine::ExpItems& items() const { return *items_; }
  // The number of its source line.
  int32_t number() const { return items_->sptModeLine; }
  bool empty() const { return items_->empty(); }
  // The code of its first token, 0 for an empty line.
  int32_t first() const { return items_->empty() ? 0 : items_->begin()->iType; }

  // What was kept of the line as a T, or null.
  template <class T>
  T* cached() {
    for (const std::unique_ptr<LineCache>& c : caches_)
      if (c->kind() == T::kKind) return static_cast<T*>(c.get());
    return nullptr;
  }
  // Keeps `c`, worked out of the line, for its later runs.  What was kept
  // before stays: a run further up may be using it.
  template <class T>
  T& keep(std::unique_ptr<T> c) {
    T& kept = *c;
    caches_.push_back(std::move(c));
    return kept;
  }

 private:
  rt::Ref<engine::ExpItems> items_;
  std::vector<std::unique_ptr<LineCache>> caches_;  // one kind, as a rule
};

using Lines = std::vector<rt::Ref<Line>>;

}  // namespace dovrel
