// Typed events.  A source keeps a list of sinks (interfaces of the source's own
// event set) and raises an event by calling each of them in turn,
// synchronously.  A handler may re-enter the source, even advise or unadvise:
// the source raises over a copy of the list and keeps itself alive meanwhile.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "rt/object.h"

namespace rt {

template <class Sink>
class EventSource {
 public:
  // Returns a cookie for `unadvise`.
  uint32_t advise(Ref<Sink> sink) {
    sinks_.push_back({++lastCookie_, std::move(sink)});
    return lastCookie_;
  }
  void unadvise(uint32_t cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it)
      if (it->cookie == cookie) {
        sinks_.erase(it);
        return;
      }
  }
  void clear() { sinks_.clear(); }
  bool empty() const { return sinks_.empty(); }

  // Calls f(sink) for every sink.  `owner` is the raising object, held while
  // the handlers run.
  template <class F>
  void raise(Object* owner, F&& f) {
    if (sinks_.empty()) return;
    Ref<Object> keep(owner);
    auto copy = sinks_;
    for (auto& e : copy) f(*e.sink);
  }

 private:
  struct Entry {
    uint32_t cookie;
    Ref<Sink> sink;
  };
  std::vector<Entry> sinks_;
  uint32_t lastCookie_ = 0;
};

}  // namespace rt
