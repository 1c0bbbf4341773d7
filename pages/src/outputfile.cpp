#include "outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "modstr.h"
#include "names.h"
#include "rt/error.h"
#include "rt/fd.h"
#include "rt/fspath.h"
#include "rt/text.h"

namespace halvorn {

namespace {

constexpr size_t kBufferBytes = 64 * 1024;

}  // namespace

OutputFile::~OutputFile() {
  if (device_ >= 0) ::close(device_);
}

bool OutputFile::open(std::u16string_view name) {
  const std::string path = fsPath(name);
  if (path.empty()) return false;
  name_ = name;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    if (S_ISDIR(st.st_mode)) return false;
    // Non-blocking while opening, so that a pipe nobody reads cannot hang.
    device_ = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (device_ < 0) return false;
    ::fcntl(device_, F_SETFL, ::fcntl(device_, F_GETFL) & ~O_NONBLOCK);
    return true;
  }
  // Through a symbolic link the file it names is replaced, as the output
  // names it (/dev/stdout a file, say), not the link.
  const std::string target = rt::fs::linkedFile(path);
  const bool existing = ::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  if (existing && !rt::fs::writable(target, st)) return false;
  return replacement_.open(target, existing ? &st : nullptr);
}

void OutputFile::line(std::u16string_view text) {
  if (failed_) fail(failed_);
  buffer_ += rt::toAnsi(text);
  buffer_ += "\r\n";
  if (buffer_.size() >= kBufferBytes) flush();
}

void OutputFile::flush() {
  const int fd = device_ >= 0 ? device_ : replacement_.fd();
  const bool written = rt::writeAll(fd, buffer_);
  const int e = errno;
  buffer_.clear();
  if (!written) fail(e);
}

void OutputFile::fail(int errnum) {
  failed_ = errnum;
  try {
    rt::fs::raiseErrno(errnum, rt::err::PathNotFound);
  } catch (const rt::RuntimeError& e) {
    rt::raiseWith(e.number(),
                  rt::errorText(e.number()) + u"：输出文件" + bracket(name_) + u"不能被写出（" +
                      rt::fromUtf8(std::strerror(errnum)) + u"）",
                  u"Output");
  }
}

void OutputFile::commit() {
  if (failed_) fail(failed_);
  flush();
  if (device_ >= 0) return;
  if (!replacement_.commit()) fail(errno);
}

}  // namespace halvorn
