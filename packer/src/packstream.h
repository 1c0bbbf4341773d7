// The binary object stream under a pack file, and the failures of reading
// one: a value that ran past the end, or a pack whose content is impossible.
#pragma once

#include <string_view>

#include "failures.h"
#include "nubrel/filestreams.h"
#include "rt/object.h"

namespace wistel {

class PackInfo;

// A new binary object-stream file, created by its class ID.
rt::Ref<nubrel::IBinFileStream> newPackStream();

// Raises the stream's read failure: the stream's reads never raise, they
// keep their first failure and leave the stream at its end.
inline void checkRead(nubrel::IBinFileStream& s) {
  if (s.eof()) raiseDamaged(s.errInfo());
}

// Opens the pack file `fn` for reading and reads its header into `info`
// (PackLen too); raises when the file cannot be opened, is no object stream
// or ends inside the header.
rt::Ref<nubrel::IBinFileStream> openPack(std::u16string_view fn, PackInfo& info);

}  // namespace wistel
