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

int replaceContent(const std::string& path, std::string_view bytes, bool& opened) {
  rt::FileReplacement out;
  opened = out.open(path);
  if (opened && rt::writeAll(out.fd(), bytes) && out.commit()) return 0;
  return errno;
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

// Writes `bytes` over the file itself, so that every name it has keeps it.
// Not a byte is written before their room is reserved, and a reservation
// that fails may have grown the file, so its length is put back: it is
// then as it was.  A shorter text is cut to its length only once written.
int writeInPlace(const std::string& path, std::string_view bytes) {
  rt::Fd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW));
  struct stat st {};
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) return errno;
  const off_t size = static_cast<off_t>(bytes.size());
  if (const int error = reserve(fd.get(), size)) {
    if (::ftruncate(fd.get(), st.st_size) != 0) return errno;
    return error;
  }
  if (!rt::writeAll(fd.get(), bytes) || ::ftruncate(fd.get(), size) != 0 || ::fsync(fd.get()) != 0 || !fd.close())
    return errno;
  return 0;
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

int writeFileContent(const std::string& path, const struct stat* existing, std::string_view bytes) {
  // A new file under this name would part it from its other names.
  if (existing && existing->st_nlink > 1) return writeInPlace(path, bytes);
  bool opened = false;
  const int error = replaceContent(path, bytes, opened);
  if (error == 0 || !existing || (opened && !renameRefused(error)) || !rt::fs::writable(path, *existing))
    return error;
  return writeInPlace(path, bytes);
}

std::u16string systemMessage(int error) { return rt::fromUtf8(std::strerror(error)); }

}  // namespace marlox
