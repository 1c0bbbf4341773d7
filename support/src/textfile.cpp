#include "textfile.h"

#include <cstdint>
#include <cstring>

#include "paths.h"
#include "readlimits.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"

namespace jespin {

namespace {

// A word of eight bytes holds a zero byte.
constexpr bool hasZeroByte(uint64_t w) {
  return ((w - 0x0101010101010101ull) & ~w & 0x8080808080808080ull) != 0;
}

// The length of the text before the first CR or LF of `bytes`, eight bytes at
// a time; bytes.size() when there is none.
size_t lineLength(std::string_view bytes) {
  const char* p = bytes.data();
  const size_t n = bytes.size();
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, sizeof w);
    if (hasZeroByte(w ^ 0x0D0D0D0D0D0D0D0Dull) || hasZeroByte(w ^ 0x0A0A0A0A0A0A0A0Aull)) break;
  }
  for (; i < n; ++i)
    if (p[i] == '\r' || p[i] == '\n') return i;
  return n;
}

}  // namespace

const rt::MemberTable<TextFile>& TextFile::members() {
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<TextFile>(u"TextFile")
          .method(u"OpenWrit", [](TextFile& t, S fn) { return t.openWrit(fn); })
          .method(u"OpenAppend", [](TextFile& t, S fn) { return t.openAppend(fn); })
          .method(u"OpenRead", [](TextFile& t, S fn) { return t.openRead(fn); })
          .method(u"CloseFile", &TextFile::closeFile)
          .prop(u"Line", &TextFile::line, [](TextFile& t, const rt::Variant& v) {
                  rt::withText(v, [&](std::u16string_view s) { t.setLine(s); });
                })
          .byDefault()
          .get(u"IsEOF", &TextFile::isEOF);
  return table;
}

bool TextFile::open(std::u16string_view fn, int flags, Mode mode) {
  closeFile();
  std::string path = fsPath(fn);
  if (path.empty() || file_.open(path, flags) != 0) return false;
  mode_ = mode;
  return true;
}

void TextFile::closeFile() {
  mode_ = Mode::Closed;
  // Written lines may still wait in the buffer: losing them must not pass silently.
  if (int e = file_.close()) raiseWriteFailure(e);
}

void TextFile::require(Mode mode) const {
  if (!file_.isOpen()) rt::raise(rt::err::BadFileName);
  if (mode_ != mode) rt::raise(rt::err::BadFileMode);
}

std::u16string TextFile::line() {
  require(Mode::Read);
  if (!haveBytes()) rt::raise(rt::err::PastEndOfFile);
  std::string gathered;  // a line that runs past the end of the buffer
  for (;;) {
    const std::string_view bytes(file_.data(), file_.size());
    const size_t length = lineLength(bytes);
    const size_t room = kMaxLineBytes - gathered.size();
    if (length > room) {
      file_.take(room);  // what follows starts what the next read returns
      rt::raise(rt::err::OutOfStringSpace,
                u"一行超过 " + rt::ascii(std::to_string(kMaxLineBytes)) + u" 字节");
    }
    if (length == bytes.size()) {
      gathered.append(bytes);
      file_.take(length);
      if (haveBytes()) continue;
      return rt::fromAnsi(gathered);  // the last line, without a line end
    }
    // Converted as a whole line, so no character is cut at the buffer's end.
    std::u16string text =
        rt::fromAnsi(gathered.empty() ? bytes.substr(0, length) : gathered.append(bytes, 0, length));
    const bool cr = bytes[length] == '\r';
    file_.take(length + 1);
    // CR LF is one line end, even when the LF comes with the next read.
    if (cr && haveBytes() && file_.data()[0] == '\n') file_.take(1);
    return text;
  }
}

void TextFile::setLine(std::u16string_view s) {
  require(Mode::Write);
  // Under UTF-8 a line the buffer surely has room for is encoded straight into it.
  if (rt::codePage() == rt::CodePage::Utf8 && s.size() <= (FileBuffer::kBytes - 2) / 3) {
    char* out = file_.reserve(3 * s.size() + 2);
    size_t n = rt::writeUtf8(s, out);
    std::memcpy(out + n, "\r\n", 2);
    file_.commit(n + 2);
    return;
  }
  std::string bytes = rt::toAnsi(s);
  bytes += "\r\n";
  file_.write(bytes);
}

bool TextFile::isEOF() {
  if (!file_.isOpen()) rt::raise(rt::err::BadFileName);
  if (mode_ != Mode::Read) return false;  // a file being written has no end to reach
  return !haveBytes();
}

}  // namespace jespin
