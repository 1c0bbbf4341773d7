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

void Runner::failedAt(std::string file, int32_t line) {
  if (where_.file.empty()) where_ = Place{std::move(file), line};
}

// The host names the source it was told for the code that failed: a
// function keeps the file it was defined in.
void Runner::failedInHost() {
  std::string source = rt::toUtf8(host_->errorSource());
  failedAt(source.empty() ? files_.back() : source, host_->errorLine());
}

std::string Runner::reportOf(const rt::RuntimeError& e) const {
  return placeLine(where_, e.number(), e.description()) +
         errorReport(e.number(), e.source(), e.description());
}

rt::Ref<nubrel::VStream> Runner::load(const std::string& path) {
  std::string bytes;
  if (!readFile(path, bytes)) return nullptr;
  if (rt::Ref<nubrel::VStream> compiled = openCompiled(path, bytes)) return compiled;
  rt::Ref<nubrel::IMemStream> ms =
      rt::queryRef<nubrel::IMemStream>(rt::createInstance(nubrel::IMemStream::clsid).get());
  compiler_->compile(scriptText(bytes), *ms);
  jespin::IErrInfo& e = compiler_->error();
  if (e.haveErr()) {
    failedAt(path, compiler_->curLineCode());
    rt::raiseWith(e.number(), e.description(), e.source());
  }
  ms->setDir(nubrel::InStream);
  return ms;
}

Runner::Status Runner::run(const std::string& path, std::string& report) {
  Entered entered(files_, path);
  where_ = Place{};
  rt::Ref<nubrel::VStream> stream;
  try {
    stream = load(path);
    if (!stream) {
      report = "zubrun: cannot read " + path + "\n";
      return FileProblem;
    }
    host_->setSourceName(rt::fromUtf8(path));
    host_->execStream(*stream);
  } catch (const rt::RuntimeError& e) {
    failedAt(path, 0);  // a directive of this file, or the file itself
    report = reportOf(e);
    return ScriptFailed;
  }
  jespin::IErrInfo& e = host_->error();
  if (!e.haveErr()) return Ok;
  failedInHost();
  report = reportOf(rt::RuntimeError(e.number(), e.description(), e.source()));
  return ScriptFailed;
}

void Runner::include(const std::u16string& written) {
  const std::string includer = files_.empty() ? std::string() : files_.back();
  if (files_.size() > kMaxIncludeDepth) {
    failedAt(includer, 0);
    rt::raiseWith(rt::err::OutOfStackSpace,
                  rt::errorText(rt::err::OutOfStackSpace) + u"：包含文件嵌套超过 " +
                      rt::ascii(std::to_string(kMaxIncludeDepth)) + u" 层",
                  u"Include");
  }
  const std::string path = includedPath(written, includer);
  Entered entered(files_, path);
  // Failures name the file as the directive wrote it.
  const std::u16string where = u"Include " + written + u"\r\n";
  rt::Ref<nubrel::VStream> stream;
  try {
    stream = load(path);
    if (!stream) {
      failedAt(includer, 0);
      rt::raise(rt::err::FileNotFound);
    }
  } catch (const rt::RuntimeError& e) {
    failedAt(path, 0);  // a file the stream refuses, or one too large
    rt::raiseWith(e.number(), e.description(), where + e.source());
  }
  host_->setSourceName(rt::fromUtf8(path));
  host_->execStream(*stream);
  jespin::IErrInfo& e = host_->error();
  if (!e.haveErr()) return;
  failedInHost();
  rt::raiseWith(e.number(), e.description(), where + e.source());
}

}  // namespace zubrun
