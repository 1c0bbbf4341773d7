// Class-specific allocation from a free list of same-sized blocks.
//
// The evaluator makes and drops a result holder for every literal and every
// operator; reusing their blocks keeps that off the general allocator.  The
// list keeps at most `Keep` blocks, so a burst of objects does not pin its
// memory.  Under AddressSanitizer the pool steps aside, so a use after
// release is still caught.
//
//   class SvSingle final : public ..., public Pooled<SvSingle> { ... };
#pragma once

#include <atomic>
#include <cstddef>
#include <new>

// g++ says so with a macro, clang through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define ZUB_POOL_STEPS_ASIDE 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZUB_POOL_STEPS_ASIDE 1
#endif
#endif

namespace engine {

// Whether the calling thread owns what `owner` guards: the first thread to
// ask claims it.  (A thread pointer is the thread's own while it lives, and
// one for each thread: a cheaper identity than thread-local storage in a
// loaded library.)
inline bool claimedByThisThread(std::atomic<void*>& owner) {
  void* self = __builtin_thread_pointer();
  void* seen = owner.load(std::memory_order_relaxed);
  if (seen == self) return true;
  return seen == nullptr && owner.compare_exchange_strong(seen, self);
}

template <class T, size_t Keep = 1024>
class Pooled {
 public:
  static void* operator new(size_t size) {
#ifndef ZUB_POOL_STEPS_ASIDE
    if (FreeList* l = ownList(); l && size == sizeof(T) && l->head) {
      Block* b = l->head;
      l->head = b->next;
      --l->kept;
      return b;
    }
#endif
    return ::operator new(size);
  }

  static void operator delete(void* p, size_t size) noexcept {
    static_assert(sizeof(Block) <= sizeof(T));
#ifndef ZUB_POOL_STEPS_ASIDE
    if (FreeList* l = ownList(); l && size == sizeof(T) && l->kept < Keep) {
      l->head = new (p) Block{l->head};
      ++l->kept;
      return;
    }
#endif
    ::operator delete(p, size);
  }

 private:
  struct Block {
    Block* next;
  };
  // One list, used by the first thread that allocates (the engine runs on
  // one thread); any other thread goes to the general allocator, and a
  // block it frees here is taken like any other.  At exit the blocks go
  // back, and objects released later (by static holders) bypass the list.
  struct FreeList {
    Block* head = nullptr;
    size_t kept = 0;
    std::atomic<void*> owner{nullptr};
    ~FreeList() {
      while (head) {
        Block* b = head;
        head = b->next;
        ::operator delete(b, sizeof(T));
      }
      kept = Keep;
    }
  };
  // The list when this thread owns it, else null.
  static FreeList* ownList() {
    static FreeList list;
    return claimedByThisThread(list.owner) ? &list : nullptr;
  }
};

}  // namespace engine
