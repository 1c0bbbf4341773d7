#include "filebuffer.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "rt/error.h"
#include "rt/fspath.h"

namespace jespin {

void raiseWriteFailure(int e) {
  rt::raise(rt::fs::errorNumber(e, rt::err::DeviceIO, rt::err::DeviceIO));
}

int FileBuffer::open(const std::string& path, int flags) {
  close();
  // Non-blocking while opening, so that a FIFO with no one at its other end
  // cannot hang the open.
  int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  const bool writing = (flags & O_ACCMODE) != O_RDONLY;
  struct stat st {};
  if (!writing && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    ::close(fd);
    return EINVAL;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  buffer_ = std::make_unique_for_overwrite<char[]>(kBytes);
  fd_ = fd;
  writing_ = writing;
  begin_ = end_ = 0;
  return 0;
}

int FileBuffer::close() {
  if (fd_ < 0) return 0;
  int e = writing_ ? writeOut() : 0;
  if (::close(fd_) != 0 && e == 0 && errno != EINTR) e = errno;
  fd_ = -1;
  buffer_.reset();  // an object kept closed holds no buffer
  begin_ = end_ = 0;
  return e;
}

size_t FileBuffer::refill(size_t most) {
  const size_t kept = size();
  if (begin_ > 0) {
    std::memmove(buffer_.get(), data(), kept);
    begin_ = 0;
    end_ = kept;
  }
  const size_t want = std::min(most, kBytes - end_);
  for (;;) {
    ssize_t n = ::read(fd_, buffer_.get() + end_, want);
    if (n >= 0) {
      end_ += static_cast<size_t>(n);
      return static_cast<size_t>(n);
    }
    if (errno != EINTR) rt::raise(rt::err::DeviceIO);
  }
}

char* FileBuffer::reserve(size_t n) {
  if (kBytes - end_ < n) flush();
  return buffer_.get() + end_;
}

void FileBuffer::write(std::string_view bytes) {
  while (!bytes.empty()) {
    size_t n = std::min(bytes.size(), kBytes - end_);
    std::memcpy(buffer_.get() + end_, bytes.data(), n);
    end_ += n;
    bytes.remove_prefix(n);
    // Written out as soon as it is full, so that a failure is reported by
    // the write that met it.
    if (end_ == kBytes) flush();
  }
}

void FileBuffer::flush() {
  if (int e = writeOut()) raiseWriteFailure(e);
}

int FileBuffer::writeOut() {
  while (begin_ < end_) {
    ssize_t n = ::write(fd_, data(), size());
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      int e = n < 0 ? errno : EIO;  // a device that takes nothing must not hang the loop
      // Kept at the front, so that the buffer has its room again when the
      // next write out succeeds.
      std::memmove(buffer_.get(), data(), size());
      end_ = size();
      begin_ = 0;
      return e;
    }
    begin_ += static_cast<size_t>(n);
  }
  begin_ = end_ = 0;
  return 0;
}

}  // namespace jespin
