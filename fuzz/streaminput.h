// Stream inputs: which values to read, and the data to read them from.
//
// Byte 0: bits 0-4 the number of op bytes that follow, bit 6 the CP936 code
// page, bit 7 "write a valid header before the data" (file streams).  Each op
// byte names a kind by its low three bits; the kinds are read in turn, over
// and over, until the stream ends.  No op bytes: every kind in turn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "nubrel/filestreams.h"
#include "nubrel/vstream.h"
#include "rt/variant.h"

namespace fuzz {

struct StreamInput {
  bool header = false;
  bool cp936 = false;
  std::string_view ops;
  std::string_view data;
};
StreamInput splitStreamInput(const uint8_t* data, size_t size);

enum class Kind : uint8_t { String, Byte, Bytes, Integer, Long, Double, Date, Object };

struct Value {
  Kind kind;
  rt::Variant v;
};

// Reads up to `most` values of the kinds of `ops` from `vs` and returns those
// read before the first failure.  A failure is a raised error, or for a file
// stream (`file`) a recorded one; reading goes on after raised errors, a few
// times, for what the stream does then.
std::vector<Value> readValues(nubrel::VStream& vs, std::string_view ops, size_t most,
                              nubrel::IStreamFile* file = nullptr);
void writeValues(nubrel::VStream& vs, const std::vector<Value>& values);
// The same kinds and values, objects compared by class and content.
bool sameValues(const std::vector<Value>& a, const std::vector<Value>& b);
// The kinds of `values`, as ops that read them back.
std::string opsOf(const std::vector<Value>& values);

// Registers "Fuzz.Node", a stream-enabled class whose records hold a shape
// Long, then by its bits a String, Bytes and a child object.
void registerNode();

}  // namespace fuzz
