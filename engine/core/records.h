// The record kinds of a compiled-script stream: each record is a Long kind
// and its body.
#pragma once

#include <cstdint>

namespace engine {

enum RecordKind : int32_t {
  RecordDirective = 0,  // a directive line without its "#" (String)
  RecordLine = 1,       // one executable line as a token list
  RecordFunction = 2,   // one Sub or Function definition
  RecordEnd = -1,       // nothing follows
};

}  // namespace engine
