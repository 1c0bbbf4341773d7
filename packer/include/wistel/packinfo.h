// The descriptive header of a pack file, as other programs see it.
//
// A pack file is a binary object stream: after the stream's own header come
// Ver, Copyright, Description, Flag, CreateTime and BlkSize, then Password
// when Flag has PF_Password, then the packed folder tree.  PackLen is never
// stored: reading a pack fills it in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "nubrel/vstream.h"
#include "rt/activation.h"
#include "rt/object.h"
#include "rt/variant.h"

namespace wistel {

// The bits of Flag.  PF_Compress is stored like any other bit; nothing acts
// on it (contents are always stored as they are).
enum PackFlags : int32_t { PF_Password = 1, PF_Compress = 2 };

class IPackInfo : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Wistel.IPackInfo");
  static constexpr rt::Guid clsid = rt::classIdOf("Wistel.PackInfo");

  virtual int32_t ver() = 0;
  virtual void setVer(int32_t v) = 0;
  virtual std::u16string copyright() = 0;
  virtual void setCopyright(std::u16string_view s) = 0;
  virtual std::u16string description() = 0;
  virtual void setDescription(std::u16string_view s) = 0;
  // Stored as written when Flag has PF_Password: a question, not encryption.
  virtual std::u16string password() = 0;
  virtual void setPassword(std::u16string_view s) = 0;
  virtual rt::Date createTime() = 0;
  virtual void setCreateTime(rt::Date d) = 0;
  // The length of the pack file last read, in bytes.
  virtual int64_t packLen() = 0;
  virtual void setPackLen(int64_t n) = 0;
  virtual int32_t blkSize() = 0;
  virtual void setBlkSize(int32_t n) = 0;
  virtual int32_t flag() = 0;
  virtual void setFlag(int32_t f) = 0;

  // Reads the header of the pack file `fn` and its length.  False for a
  // missing file, one that is not an object stream, or one that ends inside
  // the header (the fields read before the end keep their new values, the
  // others their old ones), with the failure recorded.
  virtual bool readInfo(std::u16string_view fn) = 0;
  // The description of the failure that made the last readInfo false;
  // empty after one that succeeded.
  virtual std::u16string failure() = 0;
  // Writes / reads the header fields after the stream's own header.  A
  // failure of the stream (a read past its end too) is raised to the
  // caller; reading stops there, and the fields not read keep their values.
  virtual void writeStream(nubrel::VStream& vs) = 0;
  virtual void readStream(nubrel::VStream& vs) = 0;
};

}  // namespace wistel
