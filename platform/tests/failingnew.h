// Allocations made to fail, as where memory runs out (failingnew.cpp).
#pragma once

#include <cstddef>

namespace testsupport {

// From now, the nth allocation of at least `from` bytes throws
// std::bad_alloc; a `from` of 0 stops that.
void failLargeAllocation(std::size_t from, int nth);
// Whether the allocation chosen has failed.
bool largeAllocationFailed();

}  // namespace testsupport
