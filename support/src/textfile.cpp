#include "textfile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "paths.h"
#include "readlimits.h"
#include "rt/error.h"
#include "rt/text.h"

namespace jespin {

namespace {

[[noreturn]] void raiseWriteFailure(int e) {
  rt::raise(e == ENOSPC ? rt::err::DiskFull : rt::err::DeviceIO);
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
          .prop(u"Line", &TextFile::line, [](TextFile& t, S s) { t.setLine(s); })
          .byDefault()
          .get(u"IsEOF", &TextFile::isEOF);
  return table;
}

TextFile::~TextFile() {
  if (file_) std::fclose(file_);
}

bool TextFile::open(std::u16string_view fn, int flags, Mode mode) {
  closeFile();
  std::string path = fsPath(fn);
  if (path.empty()) return false;
  // Non-blocking while opening, so that a FIFO with no one at its other end
  // cannot hang the open.
  int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  // Only plain files are read: a device could feed one line without end.
  struct stat st {};
  if (mode == Mode::Read && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    ::close(fd);
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, mode == Mode::Read ? "rb" : (flags & O_APPEND) ? "ab" : "wb");
  if (!f) {
    ::close(fd);
    return false;
  }
  file_ = f;
  mode_ = mode;
  return true;
}

void TextFile::closeFile() {
  if (!file_) return;
  std::FILE* f = file_;
  file_ = nullptr;
  mode_ = Mode::Closed;
  // Written lines may still sit in the buffer: losing them must not pass silently.
  if (std::fclose(f) != 0) raiseWriteFailure(errno);
}

std::FILE* TextFile::fileFor(Mode mode) const {
  if (!file_) rt::raise(rt::err::BadFileName);
  if (mode_ != mode) rt::raise(rt::err::BadFileMode);
  return file_;
}

std::u16string TextFile::line() {
  std::FILE* f = fileFor(Mode::Read);
  int c = std::getc(f);
  if (c == EOF) rt::raise(std::ferror(f) ? rt::err::DeviceIO : rt::err::PastEndOfFile);
  std::string bytes;
  while (c != EOF && c != '\r' && c != '\n') {
    if (bytes.size() == kMaxLineBytes) {
      std::ungetc(c, f);  // the byte starts what the next read returns
      rt::raise(rt::err::OutOfStringSpace,
                u"一行超过 " + rt::ascii(std::to_string(kMaxLineBytes)) + u" 字节");
    }
    bytes.push_back(static_cast<char>(c));
    c = std::getc(f);
  }
  if (c == '\r') {
    int next = std::getc(f);
    if (next != '\n' && next != EOF) std::ungetc(next, f);
  }
  if (std::ferror(f)) rt::raise(rt::err::DeviceIO);
  return rt::fromAnsi(bytes);
}

void TextFile::setLine(std::u16string_view s) {
  std::FILE* f = fileFor(Mode::Write);
  std::string bytes = rt::toAnsi(s);
  bytes += "\r\n";
  if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) raiseWriteFailure(errno);
}

bool TextFile::isEOF() {
  if (!file_) rt::raise(rt::err::BadFileName);
  if (mode_ != Mode::Read) return false;  // a file being written has no end to reach
  int c = std::getc(file_);
  if (c == EOF) return true;
  std::ungetc(c, file_);
  return false;
}

}  // namespace jespin
