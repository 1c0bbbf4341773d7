#include "runner.h"

#include <sys/stat.h>
#include <unistd.h>

#include "nubrel/filestreams.h"
#include "nubrel/memstream.h"
#include "rt/activation.h"
#include "rt/cmdline.h"
#include "rt/error.h"
#include "rt/fspath.h"
#include "rt/text.h"
#include "scriptfile.h"

namespace zubrun {

namespace {

template <class I>
rt::Ref<I> created() {
  rt::Ref<I> obj = rt::queryRef<I>(rt::createInstance(I::clsid).get());
  if (!obj) rt::raise(rt::err::NoAutomation);
  return obj;
}

// Whether `out` names the file the script is read from (the same device
// and inode, through links): writing it would replace the source.
bool isTheSource(const std::string& file, const std::string& out) {
  struct stat in {}, target {};
  const int read = file == kStandardInput ? ::fstat(STDIN_FILENO, &in) : ::stat(file.c_str(), &in);
  return read == 0 && ::stat(out.c_str(), &target) == 0 && in.st_dev == target.st_dev &&
         in.st_ino == target.st_ino;
}

}  // namespace

// The host names the source it was told for the code that failed: a
// function keeps the file it was defined in.
void Runner::failedInHost() {
  std::string source = rt::toUtf8(host_->errorSource());
  failedAt(source.empty() ? runningFile() : source, host_->errorLine());
}

void Runner::compileFailed(const std::string& path) {
  jespin::IErrInfo& e = compiler_->error();
  if (!e.haveErr()) return;
  failedAt(path, compiler_->curLineCode());
  rt::raiseWith(e.number(), e.description(), e.source());
}

rt::Ref<nubrel::VStream> Runner::compiled(const std::string& path, Script& script) {
  if (script.compiled) return script.compiled;
  rt::Ref<nubrel::IMemStream> ms = created<nubrel::IMemStream>();
  compiler_->compile(script.source, *ms);
  compileFailed(path);
  ms->setDir(nubrel::InStream);
  return ms;
}

rt::Ref<nubrel::VStream> Runner::load(const std::string& file) {
  Script script;
  if (!read(file, script)) return nullptr;
  return compiled(nameOf(file), script);
}

Runner::Status Runner::run(const std::string& file, std::string& report) {
  const std::string path = nameOf(file);
  Entered entered(*this, path);
  where_ = Place{};
  rt::Ref<nubrel::VStream> stream;
  try {
    stream = load(file);
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
  const std::string path = includedFile(written);
  Entered entered(*this, path);
  // Failures name the file as the directive wrote it.
  const std::u16string where = includeSource(written);
  rt::Ref<nubrel::VStream> stream;
  try {
    Script script;
    readIncluded(path, script);
    stream = compiled(path, script);
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
// writes nothing; then again into a new file, which replaces the output
// (a link there too, never written through) only when it is complete.  An
// output that leads to a device, a pipe or a file held open (standard
// output, "-" too) takes the stream as it comes, its links kept.
Runner::Status Runner::compile(const std::string& file, const std::string& out,
                               std::string& report) {
  const std::string path = nameOf(file);
  const bool toStdout = out == rt::kStandardStream;
  const std::string target = toStdout ? "/dev/stdout" : out;
  where_ = Place{};
  if (isTheSource(file, target)) {
    report = "zubrun: cannot write " + out + ": it is the script being compiled\n";
    return FileProblem;
  }
  try {
    Script script;
    if (!read(file, script) || script.compiled) {
      report = "zubrun: cannot read " + path + ": " +
               (script.compiled ? std::string("already compiled") : why_) + "\n";
      return FileProblem;
    }
    compiler_->compile(script.source, *created<nubrel::IMemStream>());
    compileFailed(path);
    rt::Ref<nubrel::IBinFileStream> stream = created<nubrel::IBinFileStream>();
    bool written = false;
    const bool through = toStdout || rt::fs::writtenThrough(target);
    if (through ? stream->openStream(rt::fromUtf8(target), nubrel::OutStream)
                : stream->createStream(rt::fromUtf8(target))) {
      compiler_->compile(script.source, *stream);
      written = !compiler_->error().haveErr() && stream->closeStream();
    }
    if (!written) {
      std::string why = rt::toUtf8(compiler_->error().haveErr() ? compiler_->error().description()
                                                                : stream->errInfo());
      stream->discardStream();  // the output stays as it was
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
