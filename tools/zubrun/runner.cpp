#include "runner.h"

#include "nubrel/memstream.h"
#include "report.h"
#include "rt/activation.h"
#include "rt/error.h"
#include "rt/text.h"
#include "scriptfile.h"

namespace zubrun {

namespace {

constexpr size_t kMaxIncludeDepth = 32;

// Removes the last file from the list however the run ends.
struct Entered {
  std::vector<std::string>& files;
  Entered(std::vector<std::string>& f, std::string path) : files(f) { files.push_back(std::move(path)); }
  ~Entered() { files.pop_back(); }
};

}  // namespace

rt::Ref<nubrel::VStream> Runner::load(const std::string& path) {
  std::string bytes;
  if (!readFile(path, bytes)) return nullptr;
  if (rt::Ref<nubrel::VStream> compiled = openCompiled(path, bytes)) return compiled;
  rt::Ref<nubrel::IMemStream> ms =
      rt::queryRef<nubrel::IMemStream>(rt::createInstance(nubrel::IMemStream::clsid).get());
  compiler_->compile(scriptText(bytes), *ms);
  jespin::IErrInfo& e = compiler_->error();
  if (e.haveErr()) {
    std::u16string where = u"Line " + rt::ascii(std::to_string(compiler_->curLineCode()));
    rt::raiseWith(e.number(), e.description(), where + u"\r\n" + e.source());
  }
  ms->setDir(nubrel::InStream);
  return ms;
}

Runner::Status Runner::run(const std::string& path, std::string& report) {
  Entered entered(files_, path);
  rt::Ref<nubrel::VStream> stream;
  try {
    stream = load(path);
    if (!stream) {
      report = "zubrun: cannot read " + path + "\n";
      return FileProblem;
    }
    host_->execStream(*stream);
  } catch (const rt::RuntimeError& e) {
    report = errorReport(e.number(), e.source(), e.description());
    return ScriptFailed;
  }
  jespin::IErrInfo& e = host_->error();
  if (!e.haveErr()) return Ok;
  report = errorReport(e.number(), e.source(), e.description());
  return ScriptFailed;
}

void Runner::include(const std::u16string& written) {
  if (files_.size() > kMaxIncludeDepth)
    rt::raiseWith(rt::err::OutOfStackSpace,
                  rt::errorText(rt::err::OutOfStackSpace) + u"：包含文件嵌套超过 " +
                      rt::ascii(std::to_string(kMaxIncludeDepth)) + u" 层",
                  u"Include");
  const std::string path = includedPath(written, files_.empty() ? std::string() : files_.back());
  Entered entered(files_, path);
  // Failures name the file as the directive wrote it.
  const std::u16string where = u"Include " + written + u"\r\n";
  rt::Ref<nubrel::VStream> stream;
  try {
    requireRegularFile(path);
    stream = load(path);
    if (!stream) rt::raise(rt::err::FileNotFound);
  } catch (const rt::RuntimeError& e) {
    rt::raiseWith(e.number(), e.description(), where + e.source());
  }
  host_->execStream(*stream);
  jespin::IErrInfo& e = host_->error();
  if (e.haveErr()) rt::raiseWith(e.number(), e.description(), where + e.source());
}

}  // namespace zubrun
