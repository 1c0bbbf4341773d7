// Runs on the first-edition engine: the host takes a text whole, or a file
// line by line, and every run ends with the host's end of the text, so a
// block or a definition left open is reported.
#include "application.h"
#include "dovrel/scripthost.h"
#include "jespin/textfile.h"
#include "newobject.h"
#include "run.h"
#include "scriptpath.h"

namespace appiface {

namespace {

// Of the host's events only Output is answered, as the command "Output";
// input is left to the host, which then reads nothing.
class HostEvents final : public engine::ScriptHostEvents {
 public:
  explicit HostEvents(Application& app) : app_(app) {}
  void output(const std::u16string& s) override { app_.output(s); }

 private:
  Application& app_;
};

using DovrelRun = HostRun<dovrel::IScriptHost, HostEvents>;

}  // namespace

void Application::execute(std::u16string_view text) {
  DovrelRun run(*this);
  try {
    sptFileName_.clear();
    dovrel::IScriptHost& host = run.host();
    host.execute(text);  // stops at the first line that fails
    if (!host.error().haveErr()) host.execEnd();
    if (host.error().haveErr()) record(host.error(), u"Execute");
  } catch (...) {
    recordCaught(u"Execute");
  }
}

void Application::execFile(std::u16string_view name) {
  DovrelRun run(*this);
  try {
    sptFileName_ = scriptName(sptPath_, name);
    sptPath_ = folderOf(sptFileName_);
    rt::Ref<jespin::ITextFile> file = newObject<jespin::ITextFile>(jespin::ITextFile::clsid);
    if (!file->openRead(sptFileName_)) {
      record(-1, {}, u"不能打开所要执行的脚本文件[" + sptFileName_ + u"]。");
      return;
    }
    dovrel::IScriptHost& host = run.host();
    // A failing line is reported, and the next one runs.
    while (!file->isEOF()) {
      host.execLine(file->line());
      if (host.error().haveErr()) record(host.error(), u"ExecFile");
    }
    host.execEnd();
    if (host.error().haveErr()) record(host.error(), u"ExecFile");
  } catch (...) {
    recordCaught(u"ExecFile");
  }
}

}  // namespace appiface
