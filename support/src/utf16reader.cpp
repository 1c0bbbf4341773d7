#include "utf16reader.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "paths.h"
#include "readlimits.h"
#include "rt/error.h"
#include "rt/fspath.h"
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
  if (!rt::fs::isNameable(fn)) {
    errorText_ = rt::errorText(rt::err::BadFileName);
    return false;
  }
  if (!isFile(fn)) {
    errorText_ = u"指定文件[" + std::u16string(fn) + u"]不存在。";
    return false;
  }
  close();
  if (int e = file_.open(fsPath(fn), O_RDONLY)) {
    errorText_ = openFailureText(e);
    return false;
  }
  struct stat st {};
  if (::fstat(file_.fd(), &st) != 0) {
    errorText_ = rt::errorText(rt::err::DeviceIO);
    close();
    return false;
  }
  // A lone last byte is no unit: it is dropped, never read past.
  const uint64_t length = static_cast<uint64_t>(st.st_size) & ~uint64_t{1};
  // The first read stops at that length, as all later ones do.
  const size_t first = static_cast<size_t>(std::clamp<uint64_t>(length, 2, FileBuffer::kBytes));
  try {
    while (file_.size() < 2 && file_.refill(first - file_.size()) > 0) {
    }
  } catch (const rt::RuntimeError&) {
    errorText_ = rt::errorText(rt::err::DeviceIO);
    close();
    return false;
  }
  const unsigned char* mark = reinterpret_cast<const unsigned char*>(file_.data());
  if (file_.size() < 2 || mark[0] != 0xFF || mark[1] != 0xFE) {
    errorText_ = u"指定文件不是 Unicode 文件。";
    close();
    return false;
  }
  file_.take(2);
  position_ = 2;
  length_ = length;
  return true;
}

bool Utf16Reader::haveUnit() {
  while (file_.size() < 2) {
    if (atEnd()) return false;
    // Never past the length taken when the file was opened.
    const uint64_t unread = length_ - position_ - file_.size();
    if (file_.refill(static_cast<size_t>(std::min<uint64_t>(unread, FileBuffer::kBytes))) == 0) {
      // The file shrank since it was opened: what is gone counts as read.
      position_ = length_;
      return false;
    }
  }
  return !atEnd();
}

std::u16string Utf16Reader::readLine() {
  std::u16string line;
  if (atEnd()) return line;
  if (!file_.isOpen()) rt::raise(rt::err::BadFileName);
  while (haveUnit()) {
    const size_t units = file_.size() / 2;
    size_t length = 0;
    while (length < units && unitAt(length) != u'\r' && unitAt(length) != u'\n') ++length;
    const size_t room = kMaxLineUnits - line.size();
    if (length > room) {
      takeUnits(room);  // what follows starts what the next read returns
      rt::raise(rt::err::OutOfStringSpace,
                u"一行超过 " + rt::ascii(std::to_string(kMaxLineUnits)) + u" 个字符");
    }
    const size_t at = line.size();
    line.resize(at + length);
    for (size_t i = 0; i < length; ++i) line[at + i] = unitAt(i);
    takeUnits(length);
    if (length < units) {
      const bool cr = unitAt(0) == u'\r';
      takeUnits(1);
      // CR LF is one line end, even when the LF comes with the next read.
      if (cr && haveUnit() && unitAt(0) == u'\n') takeUnits(1);
      break;
    }
  }
  return line;
}

}  // namespace jespin
