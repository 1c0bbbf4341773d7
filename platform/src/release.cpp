// Letting go of objects whose destructions nest (Object::releaseLast).
//
// A destructor releases what its object held, and each release of a last
// reference destroys at once: letting go of a chain of a million lists, each
// holding the next, would nest a million destructions on the native stack.
// Past a fixed depth an object whose last reference went is put aside
// instead, and the outermost destruction, once its own work is done,
// destroys the objects put aside one by one.  Everything runs on one thread,
// as the counts themselves assume.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "release.h"
#include "rt/object.h"
#include "rt/rings.h"

namespace rt {

namespace {

// Ordinary structures (a host, its spaces, their values, a page and its
// outputs) nest far less, so their objects go exactly as without putting
// aside; only a chain deeper than this is let go in steps.  Builds with
// checks put aside every object let go in another's destructor, so that a
// destructor that reaches its owner fails in every test (object.h).
#ifdef NDEBUG
constexpr unsigned kMaxNesting = 64;
#else
constexpr unsigned kMaxNesting = 1;
#endif
// The count of an object put aside: a destructor that takes and drops a
// reference to it meanwhile does not destroy it a second time.
constexpr uint32_t kAside = 0x80000000u;

unsigned nesting = 0;
// Made once and kept to the end of the process, so objects let go while
// static storage is torn down still find it.
std::vector<Object*>* aside = nullptr;

}  // namespace

class ReleaseQueue {
 public:
  // Puts `o` aside, or when there is no memory for that destroys it at once,
  // nested as it would be without the queue.
  [[gnu::noinline]] static void putAside(Object* o) noexcept {
    try {
      if (!aside) aside = new std::vector<Object*>;
      aside->push_back(o);
      o->refs_ = kAside;
    } catch (const std::bad_alloc&) {
      destroy(o);
    }
  }

  // In the order the objects were put aside, what one of them puts aside
  // before the next.
  [[gnu::noinline]] static void drain() noexcept {
    std::reverse(aside->begin(), aside->end());
    while (!aside->empty()) {
      Object* o = aside->back();
      aside->pop_back();
      o->refs_ = 0;  // as any object being destroyed (some are kept for reuse)
      const size_t before = aside->size();
      destroy(o);
      std::reverse(aside->begin() + static_cast<std::ptrdiff_t>(before), aside->end());
    }
  }

 private:
  static void destroy(Object* o) noexcept {
    ++nesting;
    o->destroy();
    --nesting;
  }
};

bool releasing() noexcept { return nesting > 0; }

// Kept short: every object ends here.
void Object::releaseLast() noexcept {
  if (rings_ != 0) [[unlikely]] {
    if (Rings::letGo(*this)) return;
  }
  if (nesting >= kMaxNesting) [[unlikely]] {
    ReleaseQueue::putAside(this);
    return;
  }
  ++nesting;
  destroy();
  if (--nesting == 0 && aside && !aside->empty()) [[unlikely]]
    ReleaseQueue::drain();
}

}  // namespace rt
