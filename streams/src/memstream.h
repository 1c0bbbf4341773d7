// The text-coded stream in a string buffer.
#pragma once

#include <string>

#include "nubrel/memstream.h"
#include "rt/dispatch.h"
#include "textcoding.h"

namespace nubrel {

class MemStream final : public rt::Automation<MemStream, IMemStream>, public TextCodedStream {
 public:
  static const rt::MemberTable<MemStream>& members();

  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<rt::Dispatch, IMemStream, VStream>(this, iid);
  }

  void init(StreamDir d) override;
  std::u16string strBuffer() override { return buffer_; }
  void setStrBuffer(std::u16string_view text) override;
  void setDir(StreamDir d) override;
  StreamDir dir() override { return dir_; }
  // True once the last character has been read, and at once for an empty buffer.
  bool eof() override { return pos_ >= buffer_.size(); }

 protected:
  void putChars(std::u16string_view s) override { buffer_ += s; }
  std::u16string takeChars(size_t n) override;
  uint64_t charsLeftAtMost() override { return buffer_.size() - pos_; }

 private:
  std::u16string buffer_;
  size_t pos_ = 0;  // the next character to read; never beyond the end
  StreamDir dir_ = OutStream;
};

}  // namespace nubrel
