// Checks shared by the codings: dates, byte arrays and the counts read from
// stored data.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rt/error.h"
#include "rt/variant.h"

namespace nubrel {

// A stored serial as a date; raises overflow outside the years 100 to 9999.
rt::Date dateFromSerial(double serial);

// The byte array a Variant holds; raises a type mismatch for anything else.
const rt::ByteArray& byteArrayOf(const rt::Variant& v);

// The upper bound of an array, which must fit a Long (overflow otherwise).
int32_t upperBoundOf(const rt::ByteArray& a);

// The most UTF-16 units of a text, or bytes of a byte array, that one value
// in a stream may hold: what a single read may ask for is bounded however
// large the file, and a larger value is refused when written, so that
// everything written reads back.
constexpr int64_t kMaxValueCount = int64_t{1} << 27;

// A length as the Long that stores it; error 7 beyond kMaxValueCount.
int32_t storedCount(size_t n);

// Why a count read from stored data cannot be used: negative (5), beyond
// kMaxValueCount (7), or more than the `left` units that can still follow it
// (62).  Empty when it fits.
std::optional<rt::RuntimeError> countFailure(int64_t count, uint64_t left);

}  // namespace nubrel
