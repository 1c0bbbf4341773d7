#include "core/callstack.h"

#include <pthread.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "rt/error.h"
#include "rt/text.h"

namespace engine {

namespace {

zorbel::ScriptSpace* active = nullptr;
int32_t calls = 0;

// Where this thread's stack lies (it grows down); size 0 when the system
// does not say.
struct StackBounds {
  uintptr_t low = 0;
  size_t size = 0;
};

// Asked of the system once per thread; the engine runs on one, so the last
// thread's answer is kept (a thread pointer identifies a live thread).
StackBounds stackBounds() {
  static StackBounds bounds;
  static void* boundsOf = nullptr;
  void* self = __builtin_thread_pointer();
  if (boundsOf == self) return bounds;
  StackBounds b;
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) == 0) {
    void* addr = nullptr;
    size_t size = 0;
    if (pthread_attr_getstack(&attr, &addr, &size) == 0) {
      b.low = reinterpret_cast<uintptr_t>(addr);
      b.size = size;
    }
    pthread_attr_destroy(&attr);
  }
  bounds = b;
  boundsOf = self;
  return b;
}

// A call needs this much stack left for its body: a quarter of the stack,
// which holds the deepest expression tree and the nested blocks one body
// can have, with the larger frames of a sanitizer build.
bool stackRoomLeft() {
  const StackBounds b = stackBounds();
  const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  if (b.size == 0 || here < b.low || here - b.low > b.size) return true;  // not known
  return here - b.low > b.size / 4;
}

}  // namespace

ActiveSpace::ActiveSpace(zorbel::ScriptSpace* ss) : previous_(active) { active = ss; }
ActiveSpace::~ActiveSpace() { active = previous_; }
zorbel::ScriptSpace* ActiveSpace::current() { return active; }

CallDepth::CallDepth() {
  // One text for both limits: which one a deep recursion meets first
  // depends on the build.
  if (calls >= kMaxCallDepth || !stackRoomLeft())
    rt::raise(rt::err::OutOfStackSpace, u"函数调用嵌套过深（最多 " +
                                            rt::ascii(std::to_string(kMaxCallDepth)) + u" 层）");
  ++calls;
}

CallDepth::~CallDepth() { --calls; }

int32_t CallDepth::depth() { return calls; }

}  // namespace engine
