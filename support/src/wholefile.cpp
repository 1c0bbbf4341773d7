#include "wholefile.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "rt/fd.h"
#include "rt/fspath.h"
#include "rt/replacefile.h"

namespace jespin {

ReadResult readWholeFile(const std::string& name, std::string& out, uint64_t most) {
  out.clear();
  if (name.empty()) return ReadResult::Missing;
  // Non-blocking, so that opening a FIFO cannot hang; it is refused below.
  rt::Fd fd(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return ReadResult::Failed;
  if (static_cast<uint64_t>(st.st_size) > most) return ReadResult::TooLarge;
  out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ReadResult::Failed;
    }
    if (n == 0) break;
    // The size told is not trusted: a file may grow, or lie (/proc).
    if (out.size() + static_cast<size_t>(n) > most) {
      out.clear();
      return ReadResult::TooLarge;
    }
    out.append(buf, static_cast<size_t>(n));
  }
  return ReadResult::Ok;
}

bool replaceFile(const std::string& name, std::string_view data) {
  if (name.empty()) return false;
  // The rename needs only a writable folder: a file its user may not write
  // (read-only, or no write permission for this process) is left alone.
  rt::FileReplacement out;
  return out.open(name, rt::FileReplacement::kKeepReadOnly) && rt::writeAll(out.fd(), data) && out.commit();
}

}  // namespace jespin
