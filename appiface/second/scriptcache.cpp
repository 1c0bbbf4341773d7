#include "scriptcache.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "newobject.h"
#include "nubrel/filestreams.h"
#include "rt/activation.h"
#include "rt/error.h"
#include "rt/filetime.h"
#include "rt/fspath.h"
#include "rt/text.h"

namespace appiface {

namespace {

constexpr std::u16string_view kCompFile = u"CompFile";

// A name longer than the file system takes names no file: beside a script
// with a long name, a cache that cannot be made, which compile() reports.
bool regularFile(std::u16string_view name, struct stat& st) {
  const std::string path = rt::fs::nativePath(name);
  if (::stat(path.c_str(), &st) != 0 && errno == ENAMETOOLONG) return false;
  return rt::fs::statOf(path, st) && S_ISREG(st.st_mode);
}

// The output of a compile is saved only when it is complete.
class CacheOutput {
 public:
  explicit CacheOutput(rt::Ref<nubrel::IStreamFile> stream) : stream_(std::move(stream)) {}
  ~CacheOutput() {
    if (stream_) stream_->discardStream();
  }
  CacheOutput(const CacheOutput&) = delete;
  CacheOutput& operator=(const CacheOutput&) = delete;

  nubrel::IStreamFile& stream() { return *stream_; }
  // Saves the cache; false when that fails.
  bool save() { return std::exchange(stream_, nullptr)->closeStream(); }

 private:
  rt::Ref<nubrel::IStreamFile> stream_;
};

}  // namespace

ScriptCache::ScriptCache(std::u16string_view script) : script_(script), cache_(script_ + u".bin") {}

ScriptCache::State ScriptCache::state() {
  struct stat script {
  }, cache{};
  const bool hasScript = regularFile(script_, script);
  const bool hasCache = regularFile(cache_, cache);
  if (!hasScript) return hasCache ? Current : Missing;
  return hasCache && rt::fs::madeAfter(cache, script) ? Current : Compile;
}

bool ScriptCache::compile(Application& app) {
  rt::Ref<jespin::ITextFile> source = newObject<jespin::ITextFile>(jespin::ITextFile::clsid);
  if (!source->openRead(script_)) {
    app.record(-1, kCompFile, u"脚本文件[" + script_ + u"]不能被正常打开。");
    return false;
  }
  rt::Ref<kestrin::IScriptCompile> compiler =
      newObject<kestrin::IScriptCompile>(kestrin::IScriptCompile::clsid);
  rt::Ref<nubrel::IStreamFile> stream =
      newObject<nubrel::IStreamFile>(nubrel::IBinFileStream::clsid);
  const std::u16string cannotMake = u"不能建立脚本文件[" + script_ + u"]的预编译文件。";
  if (!stream->createStream(cache_)) {
    app.record(-1, kCompFile, cannotMake);
    return false;
  }
  CacheOutput output(stream);
  if (!compileLines(app, *source, *compiler, output.stream())) return false;
  if (!output.save()) {
    app.record(-1, kCompFile, cannotMake + u"\r\n" + stream->errInfo());
    return false;
  }
  return true;
}

bool ScriptCache::compileLines(Application& app, jespin::ITextFile& source,
                               kestrin::IScriptCompile& compiler, nubrel::VStream& stream) {
  while (!source.isEOF()) {
    compiler.compileLine(source.line(), stream);
    if (compiler.error().haveErr()) break;
  }
  if (!compiler.error().haveErr()) compiler.compileEnd(stream);
  jespin::IErrInfo& failure = compiler.error();
  if (!failure.haveErr()) return true;
  app.record(failure.number(), failure.source(),
             u"在脚本文件[" + script_ + u"]中的第 " +
                 rt::ascii(std::to_string(compiler.curLineCode())) + u" 行出现编译错误。\r\n" +
                 failure.description(),
             kCompFile);
  return false;
}

}  // namespace appiface
