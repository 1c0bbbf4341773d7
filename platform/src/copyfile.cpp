#include "rt/copyfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "rt/error.h"
#include "rt/fd.h"
#include "rt/fspath.h"
#include "rt/replacefile.h"

namespace rt::fs {

void copyFile(std::u16string_view from, std::u16string_view to) {
  std::string src = nativePath(from), dst = nativePath(to);
  // Not blocking on a pipe: only a regular file is copied (a pipe could wait
  // for ever, a device could fill the disk).
  rt::Fd in(::open(src.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (in.get() < 0) rt::fs::raiseErrno(errno, rt::err::FileNotFound);
  struct stat st {};
  if (::fstat(in.get(), &st) != 0) rt::fs::raiseErrno(errno, rt::err::FileNotFound);
  if (!S_ISREG(st.st_mode)) rt::raise(rt::err::PathFileAccess);
  rt::fs::checkFolderOf(to);
  // The copy replaces the name: a link there is replaced as a link, never
  // written through.  A folder (or a link to one), a pipe or a device is no
  // file to replace, a read-only file keeps what it holds, and a file
  // copied onto itself stays as it is.
  struct stat target {};
  const bool exists = ::lstat(dst.c_str(), &target) == 0;
  if (exists && S_ISLNK(target.st_mode)) {
    struct stat through {};
    if (::stat(dst.c_str(), &through) == 0 && S_ISDIR(through.st_mode)) rt::raise(rt::err::PathFileAccess);
  } else if (exists) {
    if (!S_ISREG(target.st_mode) || (target.st_dev == st.st_dev && target.st_ino == st.st_ino))
      rt::raise(rt::err::PathFileAccess);
  }
  // A new file takes the source's permission bits as the umask allows; an
  // existing one keeps its own, and its owner.
  rt::FileReplacement out;
  if (!out.open(dst, rt::FileReplacement::kReplaceLinks | rt::FileReplacement::kKeepReadOnly, st.st_mode & 0777))
    rt::fs::raiseErrno(errno, rt::err::PathNotFound);
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) rt::fs::raiseErrno(errno, rt::err::FileNotFound);
    if (n == 0) break;
    if (!rt::writeAll(out.fd(), std::string_view(buffer.data(), static_cast<size_t>(n))))
      rt::fs::raiseErrno(errno, rt::err::PathNotFound);
  }
  if (!out.commit()) rt::fs::raiseErrno(errno, rt::err::PathNotFound);
}

}  // namespace rt::fs
