#include "filestream.h"

#include "codepagetext.h"
#include "members.h"
#include "rt/text.h"

namespace nubrel {

const rt::MemberTable<FileStream>& FileStream::members() {
  static const auto table = fileMembers(streamMembers<FileStream>(u"FileStream"));
  return table;
}

void FileStream::putChars(std::u16string_view s) { file_.write(encodeUnits(s)); }

// Running out of characters is input past the end of the file, as reading a
// text file is everywhere.
std::u16string FileStream::takeChars(size_t n) {
  std::u16string s;
  if (!readUnits(file_, n, s)) {
    file_.skipPastEnd();
    rt::raise(rt::err::PastEndOfFile);
  }
  return s;
}

// A byte is the code page's character with that code.  Under CP936 every code
// below 256 is one byte in the file, so the byte itself is stored, also where
// it would start a double-byte character: it is read back as one byte.
void FileStream::putByteChar(uint8_t b) {
  if (rt::codePage() != rt::CodePage::Cp936) return TextCodedStream::putByteChar(b);
  char c = static_cast<char>(b);
  file_.write(std::string_view(&c, 1));
}

uint8_t FileStream::takeByteChar() {
  if (rt::codePage() != rt::CodePage::Cp936) return TextCodedStream::takeByteChar();
  char c = 0;
  if (!file_.read(&c, 1)) rt::raise(rt::err::PastEndOfFile);
  return static_cast<uint8_t>(c);
}

}  // namespace nubrel
