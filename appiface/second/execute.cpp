// Runs on the second-edition engine: a script is compiled first, text into
// memory and a file into its cache beside it, and the compiled records run
// on a new host.
#include <optional>

#include "application.h"
#include "kestrin/scriptcompile.h"
#include "kestrin/scripthost.h"
#include "newobject.h"
#include "nubrel/filestreams.h"
#include "nubrel/memstream.h"
#include "rt/activation.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"
#include "run.h"
#include "scriptcache.h"
#include "scriptpath.h"
#include "values.h"

namespace appiface {

namespace {

// The host's events, answered through host commands; an include directive
// does nothing.  An answer that does not convert fails the script's input.
class HostEvents final : public kestrin::ScriptHostEvents {
 public:
  explicit HostEvents(Application& app) : app_(app) {}

  void inputLine(std::u16string& inBuf) override {
    if (auto answer = answerTo(u"InputLine")) inBuf = rt::toText(*answer);
  }
  void inputChar(int16_t& aCode) override {
    if (auto answer = answerTo(u"InputChar")) aCode = rt::toInteger(*answer);
  }
  void output(const std::u16string& s) override { app_.output(s); }

 private:
  std::optional<rt::Variant> answerTo(std::u16string_view command) {
    rt::Ref<jespin::IVValues> answer = app_.answered(app_.sendComm(command, yarrick::SaMethod));
    if (answer->count() == 0) return std::nullopt;
    return firstAnswer(*answer);
  }

  Application& app_;
};

using KestrinRun = HostRun<kestrin::IScriptHost, HostEvents>;

}  // namespace

// The run begins before the text is compiled, so that a text that does not
// compile is this run's failure: from a command handler, it is reported to
// the handler and not left to the outer run.
void Application::execute(std::u16string_view text) {
  KestrinRun run(*this);
  rt::Ref<nubrel::IMemStream> code = newObject<nubrel::IMemStream>(nubrel::IMemStream::clsid);
  code->init(nubrel::OutStream);
  {
    rt::Ref<kestrin::IScriptCompile> compiler =
        newObject<kestrin::IScriptCompile>(kestrin::IScriptCompile::clsid);
    compiler->compile(text, *code);
    if (compiler->error().haveErr()) {
      record(compiler->error(), u"Execute");
      return;
    }
  }
  sptFileName_.clear();
  code->setDir(nubrel::InStream);
  run.host().execStream(*code);
  if (run.host().error().haveErr()) record(run.host().error(), u"Execute");
}

void Application::execFile(std::u16string_view name) {
  KestrinRun run(*this);
  try {
    sptFileName_ = scriptName(sptPath_, name);
    sptPath_ = folderOf(sptFileName_);
    ScriptCache cache(sptFileName_);
    switch (cache.state()) {
      case ScriptCache::Missing:
        record(-1, u"ExecFile", u"不能发现所要执行的脚本文件[" + sptFileName_ + u"]。");
        return;
      case ScriptCache::Compile:
        if (!cache.compile(*this)) return;
        break;
      case ScriptCache::Current:
        break;
    }
    rt::Ref<nubrel::IStreamFile> code =
        newObject<nubrel::IStreamFile>(nubrel::IBinFileStream::clsid);
    if (!code->openStream(cache.name(), nubrel::InStream)) {
      record(-1, u"ExecFile", u"不能打开预编译文件[" + cache.name() + u"]。");
      return;
    }
    run.host().execStream(*code);
    if (run.host().error().haveErr()) record(run.host().error(), u"ExecFile");
  } catch (...) {
    recordCaught(u"ExecFile");
  }
}

}  // namespace appiface
