// Packing: the header completed and written, then the folder tree, walked in
// name order.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string_view>

namespace wistel {

class PackInfo;

// Where the packer reads the contents of files from: the files themselves,
// or in tests a source that fails on purpose.
class FileSource {
 public:
  virtual ~FileSource() = default;
  // Up to `n` bytes of the open file `fd`: the count read, 0 at its end, -1
  // with errno set on failure.
  virtual ssize_t read(int fd, char* dst, size_t n);
};

// Packs the folder `dirPath` into the pack file `packFile`.  `info` is
// completed first (BlkSize 0 becomes 1024, an empty Copyright and Description
// the packer's own, Ver 1, CreateTime now) and refused when BlkSize is
// negative or larger than a stream value holds, or when a password it
// carries cannot be stored.  Entries are packed in name order without regard
// to case; dot-names, links to folders, devices, pipes and sockets are left
// out, a link to a file is packed as the file.  A name the pack cannot hold
// (one the reader would refuse, such as "b\c") fails the pack, naming the
// file.  The older pack is never packed; its other names in the tree (hard
// links) are named in a notice at the end.  The pack is written under a
// temporary name and put in place only when complete, so a failure leaves
// no partial pack and an older pack unchanged.  Failures are shown with
// ShowErr; true when the pack is complete.
bool writePack(PackInfo& info, std::u16string_view dirPath, std::u16string_view packFile,
               FileSource& source);

}  // namespace wistel
