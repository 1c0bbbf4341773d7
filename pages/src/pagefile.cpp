#include "pagefile.h"

#include "jespin/textfile.h"
#include "kestrin/scriptcompile.h"
#include "modstr.h"
#include "names.h"
#include "nubrel/filestreams.h"
#include "qelcompile.h"
#include "rt/error.h"
#include "rt/filetime.h"
#include "rt/text.h"

namespace halvorn {

namespace {

std::u16string cannotMakeCompiled(std::u16string_view page) {
  return u"不能建立脚本文件" + bracket(page) + u"的预编译文件。";
}

// Compiles the page's lines into `compiler`, which is open on the compiled
// page; false with the reason in `rec` and its place in `at`.
bool compileLines(std::u16string_view page, jespin::ITextFile& source, QelCompile& compiler,
                  jespin::IErrInfo& rec, ErrorPlace& at) {
  while (!source.isEOF()) {
    compiler.addCodeLine(source.line());
    if (compiler.error().haveErr()) break;
  }
  if (!compiler.error().haveErr()) {
    compiler.closeStream();
    if (!compiler.saved()) {
      setError(rec, cannotMakeCompiled(page), u"CompFile");
      at = placeOf(rec, page);
      return false;
    }
  }
  jespin::IErrInfo& failure = compiler.error();
  if (!failure.haveErr()) return true;
  at = placeOf(failure, page, compiler.errorLine());
  rec.readError(failure.number(), failure.source(), failure.description(), u"CompFile");
  rec.setDescription(u"在脚本文件" + bracket(page) + u"中的第 " +
                     rt::ascii(std::to_string(compiler.errorLine())) + u" 行时出现编译错误。\r\n" +
                     failure.description());
  return false;
}

}  // namespace

std::u16string compiledName(std::u16string_view page) { return std::u16string(page) + u".bin"; }

PageState pageState(std::u16string_view page) {
  struct stat source {}, compiled {};
  bool hasSource = fileStatus(page, source);
  if (!fileStatus(compiledName(page), compiled)) return hasSource ? PageState::Compile : PageState::Missing;
  return hasSource && !rt::fs::madeAfter(compiled, source) ? PageState::Compile : PageState::Run;
}

void setError(jespin::IErrInfo& rec, std::u16string_view description, std::u16string_view source) {
  rec.setNumber(-1);
  rec.setDescription(description);
  rec.setSource(source);
}

ErrorPlace placeOf(jespin::IErrInfo& rec, std::u16string_view file, int32_t line) {
  return ErrorPlace{std::u16string(file), line, rec.number(), rec.description()};
}

bool compilePage(std::u16string_view page, jespin::IErrInfo& rec, ErrorPlace& at) {
  const std::u16string name(page);
  rt::Ref<jespin::ITextFile> source =
      rt::queryRef<jespin::ITextFile>(rt::createInstance(jespin::ITextFile::clsid).get());
  if (!source || !source->openRead(page)) {
    setError(rec, u"脚本文件" + bracket(name) + u"不能被正常打开。", u"CompFile");
    at = placeOf(rec, page);
    return false;
  }
  rt::Ref<QelCompile> compiler = rt::make<QelCompile>();
  if (!compiler->createOutStream(compiledName(page))) {
    setError(rec, cannotMakeCompiled(page), u"CompFile");
    at = placeOf(rec, page);
    return false;
  }
  bool done = false;
  try {
    done = compileLines(page, *source, *compiler, rec, at);
  } catch (const rt::RuntimeError& e) {  // a line too long to read, a failed write
    rec.readError(e.number(), e.source(), e.description(), u"CompFile");
    at = placeOf(rec, page);
  }
  if (done) return true;
  compiler->discardStream();  // what it wrote never takes the compiled page's name
  removeFile(compiledName(page));  // nor does an older one stay, to be taken for current
  return false;
}

namespace {

// "<page>.bin" read whole and checked, then to be read again from its
// beginning: the bytes checked, kept, so that a file replaced or changed
// meanwhile never runs unchecked.  Null with the reason in `why` when it
// cannot be opened or is no whole compiled page.
rt::Ref<nubrel::IStreamFile> openChecked(std::u16string_view page, std::u16string& why) {
  rt::Ref<nubrel::IStreamFile> compiled = rt::queryRef<nubrel::IStreamFile>(
      rt::createInstance(nubrel::IBinFileStream::clsid).get());
  if (!compiled) rt::raise(rt::err::NoAutomation, u"Nubrel.BinFileStream");
  if (!compiled->openKept(compiledName(page))) {
    why = compiled->errInfo();
    return nullptr;
  }
  rt::Ref<kestrin::IScriptCompile> checker = rt::queryRef<kestrin::IScriptCompile>(
      rt::createInstance(kestrin::IScriptCompile::clsid).get());
  if (!checker) rt::raise(rt::err::NoAutomation, u"Kestrin.ScriptCompile");
  if (!checker->checkStream(*compiled)) {
    why = checker->error().description();
    return nullptr;
  }
  if (compiled->rewind()) return compiled;
  why = compiled->errInfo();
  return nullptr;
}

}  // namespace

bool readyToRun(std::u16string_view page, PageState state, jespin::IErrInfo& rec, ErrorPlace& at,
                const Notice& notice, rt::Ref<nubrel::IStreamFile>& compiled) {
  compiled = nullptr;
  // Missing: the compile says what is missing.
  if (state != PageState::Run && !compilePage(page, rec, at)) return false;
  std::u16string why;
  if ((compiled = openChecked(page, why)) || state != PageState::Run || !isFile(page)) return true;
  if (notice)
    notice(u"预编译文件" + bracket(compiledName(page)) + u"不完整或已损坏（" + why + u"），已从脚本文件重新编译。");
  if (!compilePage(page, rec, at)) return false;
  compiled = openChecked(page, why);
  return true;
}

// The host is told the page's name before every run: an include runs on the
// same host under its own.
void runCompiled(std::u16string_view page, nubrel::IStreamFile* compiled, kestrin::IScriptHost& host,
                 jespin::IErrInfo& rec, ErrorPlace& at) {
  if (!compiled) {
    setError(rec, u"不能打开预编译文件" + bracket(compiledName(page)) + u"。", u"ExecIncFile");
    at = placeOf(rec, page);
    return;
  }
  try {
    host.setSourceName(page);
    host.execStream(*compiled);
  } catch (const rt::RuntimeError& e) {  // a directive the host refuses
    rec.readError(e.number(), e.source(), e.description(), u"ExecIncFile");
    at = placeOf(rec, page);
    return;
  }
  jespin::IErrInfo& failure = host.error();
  if (!failure.haveErr()) return;
  // A user function's lines are in the file that defined it.
  const std::u16string source = host.errorSource();
  at = placeOf(failure, source.empty() ? page : std::u16string_view(source), host.errorLine());
  rec.readError(failure.number(), failure.source(), failure.description(), u"ExecIncFile");
}

}  // namespace halvorn
