// The room left on the native stack.
//
// Code that recurses as deeply as what it reads is nested (expression trees,
// statement blocks, objects in a stream) asks at each level.  Below a margin
// kept at the end of the running thread's stack the check raises error 28, so
// input nested past what the stack holds fails with an error instead of
// overflowing it, whatever stack the program gave the thread.  The margin
// holds one level's own work (a library call included), unwinding, and the
// report of the error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "rt/api.h"

namespace rt::stack {

// Where the checks of the thread that asked last begin to fail, and that
// thread (its thread pointer).  Another thread works out its own on its
// first check.
struct Limit {
  uintptr_t lowest;
  const void* thread;
};
RT_API extern Limit current;

// The slow part of the checks: the limit of a thread that is not the last
// one, and the answer near the limit.
RT_API bool enoughAt(uintptr_t here);
// Raises 28.
[[noreturn]] RT_API void raiseTooDeep();

// Where the caller's stack stands.  The stack pointer is read as it is:
// asking for the frame's address would make every function that checks keep
// a frame pointer, which costs the hot paths more than the check itself.
[[gnu::always_inline]] inline uintptr_t position() {
#if defined(__x86_64__)
  uintptr_t sp;
  asm volatile("mov %%rsp, %0" : "=r"(sp));
  return sp;
#elif defined(__aarch64__)
  uintptr_t sp;
  asm volatile("mov %0, sp" : "=r"(sp));
  return sp;
#else
  return reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
#endif
}

// Whether more than the margin is left below the caller's frame.
[[gnu::always_inline]] inline bool enough() {
  const uintptr_t here = position();
  if (here >= current.lowest && __builtin_thread_pointer() == current.thread) [[likely]]
    return true;
  return enoughAt(here);
}

// Raises 28 unless enough() is.
[[gnu::always_inline]] inline void check() {
  if (!enough()) [[unlikely]]
    raiseTooDeep();
}

// The margin kept on a stack of `size` bytes.
RT_API size_t marginFor(size_t size);

// Runs `work` on a new thread with a stack of `bytes` and waits for it to
// end; false, with nothing run, when no such thread could be made.
RT_API bool runOnNewStack(size_t bytes, const std::function<void()>& work);

}  // namespace rt::stack
