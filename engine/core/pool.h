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

template <class T, size_t Keep = 1024>
class Pooled {
 public:
  static void* operator new(size_t size) {
#ifndef ZUB_POOL_STEPS_ASIDE
    FreeList& l = freeList();
    if (size == sizeof(T) && l.head) {
      Block* b = l.head;
      l.head = b->next;
      --l.kept;
      return b;
    }
#endif
    return ::operator new(size);
  }

  static void operator delete(void* p, size_t size) noexcept {
    static_assert(sizeof(Block) <= sizeof(T));
#ifndef ZUB_POOL_STEPS_ASIDE
    FreeList& l = freeList();
    if (size == sizeof(T) && l.kept < Keep) {
      l.head = new (p) Block{l.head};
      ++l.kept;
      return;
    }
#endif
    ::operator delete(p, size);
  }

 private:
  struct Block {
    Block* next;
  };
  // Per thread: a block freed on another thread simply joins that thread's
  // list.  At thread exit the blocks go back, and objects released later
  // (by static holders) bypass the list.
  struct FreeList {
    Block* head = nullptr;
    size_t kept = 0;
    ~FreeList() {
      while (head) {
        Block* b = head;
        head = b->next;
        ::operator delete(b, sizeof(T));
      }
      kept = Keep;
    }
  };
  static FreeList& freeList() {
    thread_local FreeList list;
    return list;
  }
};

}  // namespace engine
