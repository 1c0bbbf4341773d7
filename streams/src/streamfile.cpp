#include "streamfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "rt/error.h"
#include "rt/fspath.h"
#include "rt/text.h"

namespace nubrel {

namespace {

constexpr size_t kBufferSize = 64 * 1024;

// Raises the file error for `errnum`, naming the file.  A missing name is a
// missing file when reading, a missing folder when writing.
[[noreturn]] void raiseErrno(int errnum, const std::string& path, bool opening, bool forInput) {
  rt::raise(rt::fs::errorNumber(errnum, forInput ? rt::err::FileNotFound : rt::err::PathNotFound,
                                opening ? rt::err::PathFileAccess : rt::err::DeviceIO),
            rt::fromUtf8(path));
}

}  // namespace

StreamFile::~StreamFile() {
  try {
    close();
  } catch (...) {
    // A failed save has already removed the new file; the old one stays.
  }
}

void StreamFile::openRead(std::u16string_view name, bool keep) {
  discard();
  std::string path = rt::fs::nativePath(name);
  if (path.empty()) rt::raise(rt::err::BadFileName);
  // Non-blocking, so that a FIFO cannot hang the open; it is refused below.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) raiseErrno(errno, path, true, true);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    rt::raise(rt::err::PathFileAccess, rt::fromUtf8(path));
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  fd_ = fd;
  target_ = std::move(path);
  size_ = static_cast<uint64_t>(st.st_size);
  keep_ = keep;
}

void StreamFile::openWrite(std::u16string_view name, Links links) {
  discard();
  std::string target = rt::fs::nativePath(name);
  if (target.empty()) rt::raise(rt::err::BadFileName);
  // A device, a pipe or a file held open is written through where a script
  // names it; a name the system chose for a file of its own is refused there.
  out_.emplace();
  if (!out_->open(target, links == Links::Replace ? unsigned{rt::FileReplacement::kReplaceLinks} : 0u)) {
    int e = errno;
    out_.reset();
    raiseErrno(e, target, true, false);
  }
  fd_ = out_->fd();
  target_ = std::move(target);
}

void StreamFile::close() {
  if (fd_ < 0) return;
  if (!out_) {
    discard();
    return;
  }
  try {
    flush();
  } catch (...) {
    discard();
    throw;
  }
  if (!out_->commit()) {
    int e = errno;
    std::string target = target_;
    reset();
    raiseErrno(e, target, false, false);
  }
  reset();
}

void StreamFile::discard() noexcept {
  if (fd_ >= 0 && !out_) ::close(fd_);
  reset();
}

void StreamFile::reset() noexcept {
  fd_ = -1;
  out_.reset();  // a new file not saved goes
  target_.clear();
  buf_.clear();
  head_ = 0;
  size_ = pos_ = fetched_ = 0;
  pastEnd_ = false;
  keep_ = false;
}

void StreamFile::checkReading() {
  if (fd_ < 0) rt::raise(rt::err::BadFileName);
  if (out_) rt::raise(rt::err::BadFileMode);
}

// Makes at least k bytes available after head_, unless the file ends first.
void StreamFile::fill(size_t k) {
  if (buf_.size() - head_ >= k) return;
  if (!keep_) {
    buf_.erase(0, head_);
    head_ = 0;
  }
  while (buf_.size() - head_ < k && fetched_ < size_) {
    size_t want = static_cast<size_t>(
        std::min<uint64_t>(size_ - fetched_, std::max(k - (buf_.size() - head_), kBufferSize)));
    size_t old = buf_.size();
    buf_.resize(old + want);
    ssize_t got = ::read(fd_, buf_.data() + old, want);
    int e = errno;
    buf_.resize(old + static_cast<size_t>(std::max<ssize_t>(got, 0)));
    if (got < 0) {
      if (e == EINTR) continue;
      raiseErrno(e, target_, false, true);
    }
    if (got == 0) {
      size_ = fetched_;  // the file shrank since it was opened
      break;
    }
    fetched_ += static_cast<uint64_t>(got);
  }
}

std::string_view StreamFile::peek(size_t k) {
  checkReading();
  fill(k);
  return std::string_view(buf_).substr(head_, k);
}

void StreamFile::consume(size_t k) {
  head_ += k;
  pos_ += k;
}

bool StreamFile::read(char* dst, size_t n) {
  checkReading();
  while (n > 0) {
    fill(std::min(n, kBufferSize));
    size_t avail = buf_.size() - head_;
    if (avail == 0) {
      pastEnd_ = true;
      return false;
    }
    size_t k = std::min(avail, n);
    std::memcpy(dst, buf_.data() + head_, k);
    consume(k);
    dst += k;
    n -= k;
  }
  return true;
}

void StreamFile::skipPastEnd() {
  if (keep_) {
    size_ = fetched_;  // what was not fetched is never read
    head_ = buf_.size();
  } else {
    buf_.clear();
    head_ = 0;
  }
  pos_ = fetched_ = size_;
  pastEnd_ = true;
}

bool StreamFile::rewind() {
  if (fd_ < 0 || out_ || !keep_) return false;
  buf_.resize(head_);  // bytes fetched ahead were never read
  size_ = fetched_ = head_;
  head_ = 0;
  pos_ = 0;
  pastEnd_ = false;
  return true;
}

void StreamFile::write(std::string_view bytes) {
  if (fd_ < 0) rt::raise(rt::err::BadFileName);
  if (!out_) rt::raise(rt::err::BadFileMode);
  buf_.append(bytes);
  if (buf_.size() >= kBufferSize) flush();
}

void StreamFile::flush() {
  size_t done = 0;
  while (done < buf_.size()) {
    ssize_t n = ::write(fd_, buf_.data() + done, buf_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      buf_.erase(0, done);
      raiseErrno(n < 0 ? errno : ENOSPC, target_, false, false);
    }
    done += static_cast<size_t>(n);
  }
  buf_.clear();
}

}  // namespace nubrel
