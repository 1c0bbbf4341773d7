#include "memstream.h"

#include <algorithm>

#include "members.h"

namespace nubrel {

const rt::MemberTable<MemStream>& MemStream::members() {
  static const auto table = std::move(
      streamMembers<MemStream>(u"MemStream")
          .method(u"Init", [](MemStream& s, int32_t d) { s.init(static_cast<StreamDir>(d)); })
          .get(u"StrBuffer", &MemStream::strBuffer)
          .let(u"StrBuffer", [](MemStream& s, std::u16string t) { s.setStrBuffer(t); })
          .method(u"SetDir", [](MemStream& s, int32_t d) { s.setDir(static_cast<StreamDir>(d)); }));
  return table;
}

void MemStream::init(StreamDir d) {
  buffer_.clear();
  pos_ = 0;
  dir_ = d;
}

void MemStream::setStrBuffer(std::u16string_view text) {
  buffer_.assign(text);
  pos_ = 0;
  dir_ = InStream;
}

void MemStream::setDir(StreamDir d) {
  pos_ = 0;
  dir_ = d;
}

std::u16string MemStream::takeChars(size_t n) {
  size_t k = std::min(n, buffer_.size() - pos_);
  std::u16string s = buffer_.substr(pos_, k);
  pos_ += k;
  return s;
}

}  // namespace nubrel
