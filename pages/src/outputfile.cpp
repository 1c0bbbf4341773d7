#include "outputfile.h"

#include <cerrno>
#include <cstring>
#include <vector>

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

bool OutputFile::open(std::u16string_view name) {
  const std::string path = fsPath(name);
  if (path.empty()) return false;
  name_ = name;
  return replacement_.open(path, rt::FileReplacement::kKeepReadOnly);
}

void OutputFile::line(std::u16string_view text) {
  if (failed_) fail(failed_);
  buffer_ += rt::toAnsi(text);
  buffer_ += "\r\n";
  if (buffer_.size() >= kBufferBytes) flush();
}

void OutputFile::flush() {
  const bool written = rt::writeAll(replacement_.fd(), buffer_);
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

void OutputFile::finish() {
  if (failed_) fail(failed_);
  flush();
  if (!replacement_.finish()) fail(errno);
}

void OutputFile::placeAll(std::span<OutputFile* const> files) {
  std::vector<rt::FileReplacement*> replacements;
  for (OutputFile* f : files) replacements.push_back(&f->replacement_);
  if (rt::FileReplacement::commitAll(replacements)) return;
  const int e = errno;
  // The first not in place is the first whose new content is gone.
  for (OutputFile* f : files)
    if (f->replacement_.target().empty()) f->fail(e);
  files.front()->fail(e);
}

}  // namespace halvorn
