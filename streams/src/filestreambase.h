// What the two file streams share: opening with the header, closing, the
// failure text, the direction and the end flag.  The coding of the values,
// and so of the header, is the derived class's.
#pragma once

#include <cstdint>
#include <string>

#include "nubrel/filestreams.h"
#include "rt/error.h"
#include "streamfile.h"

namespace nubrel {

class FileStreamBase : public virtual IStreamFile {
 public:
  bool openStream(std::u16string_view fn, StreamDir d) override;
  bool createStream(std::u16string_view fn) override;
  bool openKept(std::u16string_view fn) override;
  bool rewind() override;
  bool closeStream() override;
  void discardStream() override { file_.discard(); }
  std::u16string errInfo() override { return failure_; }
  StreamDir dir() override { return dir_; }
  // True only after a read has run past the end of the file.
  bool eof() override { return file_.pastEnd(); }

 protected:
  // `signature` is the first Long of the header.
  explicit FileStreamBase(int32_t signature) : signature_(signature) {}

  // A read that found too little data: the first such failure is kept as the
  // failure text, and the stream stays at its end.
  void recordReadFailure(const rt::RuntimeError& e);

  StreamFile file_;

 private:
  bool open(std::u16string_view fn, StreamDir d, StreamFile::Links links, bool keep = false);

  const int32_t signature_;
  StreamDir dir_ = OutStream;
  std::u16string failure_;
};

}  // namespace nubrel
