#include "marlox/docfile.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "rt/fd.h"
#include "rt/fspath.h"
#include "rt/replacefile.h"
#include "rt/text.h"

namespace marlox {

namespace {

int replaceContent(const std::string& path, const struct stat* existing, std::string_view bytes, bool& opened) {
  rt::FileReplacement out;
  opened = out.open(path, existing);
  if (opened && rt::writeAll(out.fd(), bytes) && out.commit()) return 0;
  return errno;
}

// Errors of the rename over the file, which the file itself does not share.
bool renameRefused(int error) { return error == EACCES || error == EPERM || error == EBUSY || error == EXDEV; }

int writeInPlace(const std::string& path, std::string_view bytes) {
  rt::Fd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW));
  if (fd.get() < 0) return errno;
  if (!bytes.empty()) {
    const int room = ::posix_fallocate(fd.get(), 0, static_cast<off_t>(bytes.size()));
    if (room != 0 && room != EOPNOTSUPP && room != EINVAL) return room;
  }
  if (!rt::writeAll(fd.get(), bytes) || ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0 ||
      ::fsync(fd.get()) != 0 || !fd.close())
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
  bool opened = false;
  const int error = replaceContent(path, existing, bytes, opened);
  if (error == 0 || !existing || (opened && !renameRefused(error)) || !rt::fs::writable(path, *existing))
    return error;
  return writeInPlace(path, bytes);
}

std::u16string systemMessage(int error) { return rt::fromUtf8(std::strerror(error)); }

}  // namespace marlox
