// Allocation in the fuzzer programs: an allocation larger than the sanitizer
// allows (512 MB) fails with std::bad_alloc, as it does where memory runs
// out, so that the code under test meets that failure instead of the
// machine running out.  (The sanitizer's own operator new would end the
// program instead of throwing.)  Freed memory is held back for use-after-free
// checks in a smaller quarantine than usual, which keeps long runs under
// the fuzzer's memory limit.
#include <cstdlib>
#include <new>

extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=512:quarantine_size_mb=64";
}

namespace {

void* allocate(std::size_t n) {
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}

void* allocateAligned(std::size_t n, std::align_val_t a) {
  void* p = nullptr;
  if (::posix_memalign(&p, static_cast<std::size_t>(a), n ? n : 1) == 0) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t n) { return allocate(n); }
void* operator new[](std::size_t n) { return allocate(n); }
void* operator new(std::size_t n, std::align_val_t a) { return allocateAligned(n, a); }
void* operator new[](std::size_t n, std::align_val_t a) { return allocateAligned(n, a); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
  return std::malloc(n ? n : 1);
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
