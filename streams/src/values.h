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

// A length as the Long that stores it (overflow beyond 2^31 - 1).
int32_t storedCount(size_t n);

// Why a count read from stored data cannot be used: negative, or more than
// the `left` units that can still follow it.  Empty when it fits.
std::optional<rt::RuntimeError> countFailure(int64_t count, uint64_t left);

}  // namespace nubrel
