#include "marlox/docfile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "rt/fd.h"
#include "rt/fspath.h"
#include "rt/replacefile.h"
#include "rt/text.h"

namespace marlox {

namespace {

WriteFailure failed(WriteFailure::Step step) { return {step, errno}; }

WriteFailure replaceContent(const std::string& path, std::string_view bytes) {
  rt::FileReplacement out;
  if (!out.open(path)) return failed(WriteFailure::MakeTemp);
  if (!rt::writeAll(out.fd(), bytes)) return failed(WriteFailure::WriteTemp);
  if (!out.commit()) return failed(WriteFailure::Replace);
  return {};
}

// Errors of the rename over the file, which the file itself does not share.
bool renameRefused(int error) { return error == EACCES || error == EPERM || error == EBUSY || error == EXDEV; }

// Room for `size` bytes written over the open file `fd` from its start, so
// that none of those writes can fail for want of space: every block up to
// `size` is allocated (the file's own, its holes and what lies past its
// end), and the process's size limit (ulimit -f), which the writes would
// meet as a full disk, allows them.  A file system that cannot allocate
// ahead gives no room.  0, or the errno.
int reserve(int fd, off_t size) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      static_cast<rlim_t>(size) > limit.rlim_cur)
    return EFBIG;
  return size > 0 ? ::posix_fallocate(fd, 0, size) : 0;
}

// The file `path` opened to be written in place.  Read as well: where the
// file system cannot allocate ahead (ramfs, NFSv3, many FUSE ones), the C
// library reserves room by reading a byte of every block through the
// descriptor and writing a zero where it finds one.  A file that may be
// written but not read is opened for writing only; it gets its room where
// the file system allocates it.
int openInPlace(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  return fd >= 0 || errno != EACCES ? fd : ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
}

// Writes `bytes` over the file itself, so that every name it has keeps it.
// Not a byte is written before their room is reserved, and a reservation
// that fails may have grown the file, so its length is put back: it is
// then as it was.  A shorter text is cut to its length only once written.
WriteFailure writeInPlace(const std::string& path, std::string_view bytes) {
  rt::Fd fd(openInPlace(path));
  struct stat st {};
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) return failed(WriteFailure::Open);
  const off_t size = static_cast<off_t>(bytes.size());
  if (const int error = reserve(fd.get(), size)) {
    if (::ftruncate(fd.get(), st.st_size) != 0) return failed(WriteFailure::Restore);
    return {WriteFailure::Reserve, error};
  }
  if (!rt::writeAll(fd.get(), bytes)) return failed(WriteFailure::Write);
  if (::ftruncate(fd.get(), size) != 0) return failed(WriteFailure::Cut);
  if (::fsync(fd.get()) != 0 || !fd.close()) return failed(WriteFailure::Flush);
  return {};
}

}  // namespace

FileRead readFileContent(const std::string& path, size_t most, std::string& bytes) {
  // Without waiting: a pipe with no writer would hold the program for ever.
  rt::Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat st {};
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return FileRead::Failed;
  if (static_cast<uint64_t>(st.st_size) > most) return FileRead::TooLarge;
  bytes.clear();
  // A file that grows while it is read is held to the limit too.
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FileRead::Failed;
    if (n == 0) return FileRead::Ok;
    if (bytes.size() + static_cast<size_t>(n) > most) return FileRead::TooLarge;
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

WriteFailure writeFileContent(const std::string& path, const struct stat* existing, std::string_view bytes) {
  // A new file under this name would part it from its other names.
  if (existing && existing->st_nlink > 1) return writeInPlace(path, bytes);
  const WriteFailure failure = replaceContent(path, bytes);
  const bool tempMade = failure.step != WriteFailure::MakeTemp;
  if (!failure || !existing || (tempMade && !renameRefused(failure.error)) || !rt::fs::writable(path, *existing))
    return failure;
  return writeInPlace(path, bytes);
}

std::u16string systemMessage(int error) { return rt::fromUtf8(std::strerror(error)); }

}  // namespace marlox
