#include "rt/stack.h"

#include <pthread.h>
#include <signal.h>

#include <algorithm>

#include "rt/error.h"

namespace rt::stack {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kSanitizerFactor = 2;  // frames with red zones round them
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr size_t kSanitizerFactor = 2;
#else
constexpr size_t kSanitizerFactor = 1;
#endif
#else
constexpr size_t kSanitizerFactor = 1;
#endif

// The stack of this thread: where it ends, and the lowest address a check
// passes at.  Both 0 when the system does not say (every check passes).
struct Bounds {
  uintptr_t bottom = 0;
  uintptr_t lowest = 0;
};

Bounds boundsOfThisThread() {
  Bounds b;
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) != 0) return b;
  void* addr = nullptr;
  size_t size = 0;
  if (pthread_attr_getstack(&attr, &addr, &size) == 0 && size > 0) {
    b.bottom = reinterpret_cast<uintptr_t>(addr);
    b.lowest = b.bottom + marginFor(size);
  }
  pthread_attr_destroy(&attr);
  return b;
}

}  // namespace

Limit current{UINTPTR_MAX, nullptr};

size_t marginFor(size_t size) {
  // An eighth, at least 64 KB and at most 1 MB: the small stacks that
  // threads are given keep room for a level's work, the large ones are not
  // cut short.
  const size_t margin = std::clamp(size / 8, size_t{64} << 10, size_t{1} << 20) * kSanitizerFactor;
  return std::min(margin, size / 2);
}

bool enoughAt(uintptr_t here) {
  thread_local const Bounds bounds = boundsOfThisThread();
  current = Limit{bounds.lowest, __builtin_thread_pointer()};
  // Below the thread's own stack the code runs on another one (a stack the
  // program made itself), whose size is not known: nothing is refused there.
  return here >= bounds.lowest || here < bounds.bottom;
}

void raiseTooDeep() {
  raise(err::OutOfStackSpace, u"嵌套过深，本机堆栈将用尽");
}

bool runOnNewStack(size_t bytes, const std::function<void()>& work) {
  pthread_attr_t attr;
  if (pthread_attr_init(&attr) != 0) return false;
  pthread_t thread;
  // The calling thread only waits: the signals sent to the process go to
  // the work's thread, as if the work ran here (a handler may need to run
  // where the work is: rt/signals.h).
  struct Job {
    const std::function<void()>* work;
    sigset_t mask;
  } job{&work, {}};
  sigset_t all;
  ::sigfillset(&all);
  ::pthread_sigmask(SIG_BLOCK, &all, &job.mask);
  auto run = [](void* arg) -> void* {
    const Job& j = *static_cast<const Job*>(arg);
    ::pthread_sigmask(SIG_SETMASK, &j.mask, nullptr);
    (*j.work)();
    return nullptr;
  };
  const bool made = pthread_attr_setstacksize(&attr, bytes) == 0 &&
                    pthread_create(&thread, &attr, run, &job) == 0;
  pthread_attr_destroy(&attr);
  if (made) pthread_join(thread, nullptr);
  ::pthread_sigmask(SIG_SETMASK, &job.mask, nullptr);
  return made;
}

}  // namespace rt::stack
