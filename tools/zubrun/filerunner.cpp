#include "filerunner.h"

#include "rt/text.h"
#include "scriptfile.h"

namespace zubrun {

namespace {

constexpr size_t kMaxIncludeDepth = 32;

// How a script read from standard input is named.
constexpr const char* kStandardInputName = "<stdin>";

}  // namespace

std::string FileRunner::nameOf(const std::string& file) {
  return file == kStandardInput ? kStandardInputName : file;
}

void FileRunner::failedAt(std::string file, int32_t line) {
  if (where_.file.empty()) where_ = Place{std::move(file), line};
}

std::string FileRunner::reportOf(const rt::RuntimeError& e) const {
  return placeLine(where_, e.number(), e.description()) +
         errorReport(e.number(), e.source(), e.description());
}

bool FileRunner::read(const std::string& file, Script& out) {
  const std::string path = nameOf(file);
  std::string bytes;
  if (!readFile(file, bytes, &why_)) return false;
  out.compiled = openCompiled(path, bytes);
  if (out.compiled) return true;
  warnIfNotInCodePage(warnings_, "zubrun", path, bytes);
  out.source = scriptText(bytes);
  return true;
}

std::string FileRunner::includedFile(const std::u16string& written) {
  const std::string includer = files_.empty() ? std::string() : files_.back();
  if (files_.size() > kMaxIncludeDepth) {
    failedAt(includer, 0);
    rt::raiseWith(rt::err::OutOfStackSpace,
                  rt::errorText(rt::err::OutOfStackSpace) + u"：包含文件嵌套超过 " +
                      rt::ascii(std::to_string(kMaxIncludeDepth)) + u" 层",
                  u"Include");
  }
  return includedPath(written, includer);
}

void FileRunner::readIncluded(const std::string& path, Script& out) {
  requireRegularFile(path);
  if (!read(path, out)) {
    failedAt(files_.size() > 1 ? files_[files_.size() - 2] : std::string(), 0);
    rt::raise(rt::err::FileNotFound);
  }
}

}  // namespace zubrun
