// The text-coded file stream: the text coding in a file, as code-page text.
#pragma once

#include <string>

#include "filestreambase.h"
#include "rt/dispatch.h"
#include "textcoding.h"

namespace nubrel {

class FileStream final : public rt::Automation<FileStream, IFileStream>,
                         public FileStreamBase,
                         public TextCodedStream {
 public:
  // The header's first Long, written as FFFFFFFF.
  static constexpr int32_t kSignature = -1;
  static const rt::MemberTable<FileStream>& members();

  FileStream() : FileStreamBase(kSignature) {}

  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<rt::Dispatch, IFileStream, IStreamFile, VStream>(this, iid);
  }

 protected:
  void putChars(std::u16string_view s) override;
  // Raises 62 when the file ends first.
  std::u16string takeChars(size_t n) override;
  // Every character takes at least one byte.
  uint64_t charsLeftAtMost() override { return file_.left(); }
  void putByteChar(uint8_t b) override;
  uint8_t takeByteChar() override;
};

}  // namespace nubrel
