// The test program's operator new, which can be made to fail.
#include "failingnew.h"

#include <cstdlib>
#include <new>

namespace testsupport {

namespace {
std::size_t largeFrom = 0;
int untilFailure = 0;
}  // namespace

void failLargeAllocation(std::size_t from, int nth) {
  largeFrom = from;
  untilFailure = nth;
}

bool largeAllocationFailed() { return largeFrom && untilFailure == 0; }

}  // namespace testsupport

// Every form, so that each allocation is freed by its own kind.
namespace {
void* allocate(std::size_t n) {
  using namespace testsupport;
  if (largeFrom && n >= largeFrom && untilFailure > 0 && --untilFailure == 0) throw std::bad_alloc();
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t n) { return allocate(n); }
void* operator new[](std::size_t n) { return allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
