// The one reader of a pack's folder tree, for unpacking, listing and
// fuzzing.  It checks everything it reads and hands each part to a visitor
// in pack order.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "nubrel/filestreams.h"
#include "rt/variant.h"

namespace wistel {

// Names come as textOfBytes makes them of the stored bytes.
struct FileRecord {
  std::u16string name;
  int32_t attributes = 0;
  rt::Date modified;
  int32_t blocks = 0;
};

class PackVisitor {
 public:
  virtual ~PackVisitor() = default;
  // A folder body begins: the root (depth 0, no name) or a subfolder
  // (depth 1 and more), with the counts of its files and subfolders.
  virtual void enterFolder(std::u16string_view name, int32_t files, int32_t folders, int depth) = 0;
  virtual void beginFile(const FileRecord& file) = 0;
  // The next block of the current file: 1 to BlkSize bytes.
  virtual void block(std::span<const uint8_t> bytes) = 0;
  virtual void endFile() = 0;
  virtual void leaveFolder() = 0;
};

// Reads the root folder body that follows the header, which ends the pack.
// Raises that the pack is damaged for a value that runs past the end or
// cannot fit the bytes left, a negative count, an unusable name, a block
// whose bounds are not 0 to n - 1 with 1 <= n <= `blkSize`, a date outside
// the calendar, folders nested deeper than kMaxDepth, or anything after the
// root folder (found once the visitor has seen the whole tree).  What the
// visitor raises ends the reading too.
void readFolderTree(nubrel::IBinFileStream& s, int32_t blkSize, PackVisitor& v);

}  // namespace wistel
