#include "utf16reader.h"

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

// The runtime's text for a failed open.
std::u16string openFailureText(int e) {
  switch (e) {
    case EACCES:
    case EPERM: return rt::errorText(rt::err::PermissionDenied);
    case ENOENT:
    case ENOTDIR: return rt::errorText(rt::err::FileNotFound);
    default: return rt::errorText(rt::err::PathFileAccess);
  }
}

}  // namespace

bool Utf16Reader::open(std::u16string_view fn) {
  if (!isFile(fn)) {
    errorText_ = u"指定文件[" + std::u16string(fn) + u"]不存在。";
    return false;
  }
  close();
  // Non-blocking, so that a FIFO cannot hang the open; only plain files are
  // read (a device could feed one line without end).
  int fd = ::open(fsPath(fn).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat kind {};
  if (fd >= 0 && (::fstat(fd, &kind) != 0 || !S_ISREG(kind.st_mode))) {
    ::close(fd);
    fd = -1;
    errno = EINVAL;
  }
  if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* f = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
  if (!f) {
    if (fd >= 0) ::close(fd);
    errorText_ = openFailureText(errno);
    return false;
  }
  unsigned char mark[2] = {0, 0};
  size_t got = std::fread(mark, 1, 2, f);
  if (got < 2 && std::ferror(f)) {
    errorText_ = rt::errorText(rt::err::DeviceIO);
    std::fclose(f);
    return false;
  }
  if (got < 2 || mark[0] != 0xFF || mark[1] != 0xFE) {
    errorText_ = u"指定文件不是 Unicode 文件。";
    std::fclose(f);
    return false;
  }
  struct stat st {};
  if (::fstat(fileno(f), &st) != 0) {
    errorText_ = rt::errorText(rt::err::DeviceIO);
    std::fclose(f);
    return false;
  }
  file_ = f;
  position_ = 2;
  // A lone last byte is no unit: it is dropped, never read past.
  length_ = static_cast<uint64_t>(st.st_size) & ~uint64_t{1};
  return true;
}

void Utf16Reader::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

bool Utf16Reader::readUnit(char16_t& unit) {
  unsigned char b[2];
  if (std::fread(b, 1, 2, file_) != 2) {
    // The file shrank since it was opened: what is gone counts as read.
    position_ = length_;
    return false;
  }
  position_ += 2;
  unit = static_cast<char16_t>(b[0] | (b[1] << 8));
  return true;
}

void Utf16Reader::stepBack() {
  std::fseek(file_, -2, SEEK_CUR);
  position_ -= 2;
}

std::u16string Utf16Reader::readLine() {
  std::u16string line;
  if (atEnd()) return line;
  if (!file_) rt::raise(rt::err::BadFileName);
  char16_t unit = 0;
  while (!atEnd() && readUnit(unit)) {
    if (unit == u'\n') break;
    if (unit == u'\r') {
      // CR LF is one line end: take the LF too, or step back over another unit.
      char16_t next = 0;
      if (!atEnd() && readUnit(next) && next != u'\n') stepBack();
      break;
    }
    if (line.size() == kMaxLineUnits) {
      stepBack();  // the unit starts what the next read returns
      rt::raise(rt::err::OutOfStringSpace,
                u"一行超过 " + rt::ascii(std::to_string(kMaxLineUnits)) + u" 个字符");
    }
    line.push_back(unit);
  }
  return line;
}

}  // namespace jespin
