// The record kinds of a compiled-script stream: each record is a Long kind
// and its body.
#pragma once

#include <cstdint>

#include "nubrel/vstream.h"
#include "rt/error.h"

namespace engine {

enum RecordKind : int32_t {
  RecordDirective = 0,  // a directive line without its "#" (String)
  RecordLine = 1,       // one executable line as a token list
  RecordFunction = 2,   // one Sub or Function definition
  RecordEnd = -1,       // nothing follows
};

// What a run of a stream that holds a record of no known kind ends with.
inline constexpr int32_t kBadFileFormat = 321;

// Every record but the end one is followed by more: a stream found at its
// end after reading one was cut short.  (A memory stream is at its end once
// its last value is read, a file stream once a read has run past the end,
// so this is tested after each read.)
inline void requireMore(nubrel::VStream& vs) {
  if (vs.eof()) rt::raise(rt::err::PastEndOfFile);
}

}  // namespace engine
