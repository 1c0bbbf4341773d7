#include "runner.h"

#include <cstdio>

#include "nubrel/filestreams.h"
#include "nubrel/memstream.h"
#include "report.h"
#include "rt/activation.h"
#include "rt/error.h"
#include "rt/text.h"
#include "scriptfile.h"

namespace zubrun {

namespace {

constexpr size_t kMaxIncludeDepth = 32;

// How a script read from standard input is named.
constexpr const char* kStandardInputName = "<stdin>";

// Removes the last file from the list however the run ends.
struct Entered {
  std::vector<std::string>& files;
  Entered(std::vector<std::string>& f, std::string path) : files(f) { files.push_back(std::move(path)); }
  ~Entered() { files.pop_back(); }
};

template <class I>
rt::Ref<I> created() {
  rt::Ref<I> obj = rt::queryRef<I>(rt::createInstance(I::clsid).get());
  if (!obj) rt::raise(rt::err::NoAutomation);
  return obj;
}

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

bool Runner::readable(const std::string& path, std::string& bytes) {
  return readFile(path == kStandardInputName ? std::string(kStandardInput) : path, bytes, &why_);
}

std::u16string Runner::sourceText(const std::string& path, std::string_view bytes) {
  if (int32_t bad = firstBadLine(bytes))
    std::fprintf(warnings_,
                 "zubrun: warning: %s:%d: not valid in the code page %s; read with "
                 "replacement characters (ZUB_CODEPAGE names the code page)\n",
                 path.c_str(), bad, rt::codePage() == rt::CodePage::Cp936 ? "CP936" : "UTF-8");
  return scriptText(bytes);
}

void Runner::compiled(const std::string& path) {
  jespin::IErrInfo& e = compiler_->error();
  if (!e.haveErr()) return;
  failedAt(path, compiler_->curLineCode());
  rt::raiseWith(e.number(), e.description(), e.source());
}

rt::Ref<nubrel::VStream> Runner::load(const std::string& path) {
  std::string bytes;
  if (!readable(path, bytes)) return nullptr;
  if (rt::Ref<nubrel::VStream> compiledFile = openCompiled(path, bytes)) return compiledFile;
  rt::Ref<nubrel::IMemStream> ms = created<nubrel::IMemStream>();
  compiler_->compile(sourceText(path, bytes), *ms);
  compiled(path);
  ms->setDir(nubrel::InStream);
  return ms;
}

Runner::Status Runner::run(const std::string& file, std::string& report) {
  const std::string path = file == kStandardInput ? kStandardInputName : file;
  Entered entered(files_, path);
  where_ = Place{};
  rt::Ref<nubrel::VStream> stream;
  try {
    stream = load(path);
    if (!stream) {
      report = "zubrun: cannot read " + path + ": " + why_ + "\n";
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
    requireRegularFile(path);
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

// The source is compiled in memory first, so that a script with an error
// writes nothing; then again into the file, which is saved when it closes.
// A file that fails while written is removed rather than left cut short.
Runner::Status Runner::compile(const std::string& file, const std::string& out,
                               std::string& report) {
  const std::string path = file == kStandardInput ? kStandardInputName : file;
  where_ = Place{};
  try {
    std::string bytes;
    if (!readable(path, bytes)) {
      report = "zubrun: cannot read " + path + ": " + why_ + "\n";
      return FileProblem;
    }
    const std::u16string text = sourceText(path, bytes);
    compiler_->compile(text, *created<nubrel::IMemStream>());
    compiled(path);
    rt::Ref<nubrel::IBinFileStream> target = created<nubrel::IBinFileStream>();
    const bool opened = target->openStream(rt::fromUtf8(out), nubrel::OutStream);
    bool written = false;
    if (opened) {
      compiler_->compile(text, *target);
      written = !compiler_->error().haveErr() && target->closeStream();
    }
    if (!written) {
      std::string why = rt::toUtf8(compiler_->error().haveErr() ? compiler_->error().description()
                                                                : target->errInfo());
      target = nullptr;
      if (opened) std::remove(out.c_str());
      report = "zubrun: cannot write " + out + ": " + why + "\n";
      return FileProblem;
    }
  } catch (const rt::RuntimeError& e) {
    failedAt(path, 0);
    report = reportOf(e);
    return ScriptFailed;
  }
  return Ok;
}

}  // namespace zubrun
