// Scripts on the second-edition engine: source text compiled and run, and
// any compiled stream run, each under the limits of a fuzzed run
// (scriptrun.h).
#include "core/scriptcompile.h"
#include "core/scripthost.h"
#include "fileinput.h"
#include "harness.h"
#include "nubrel/filestreams.h"
#include "qelcompile.h"
#include "scriptrun.h"
#include "targets.h"

namespace fuzz {

namespace {

// Runs a compiled stream on a fresh host.
void runScript(nubrel::VStream& vs) {
  ScriptRun run;
  rt::Ref<engine::ScriptHost> host = engine::ScriptHost::create();
  host->advise(quietEvents());
  try {
    host->execStream(vs);
    report(host->error());
  } catch (const rt::RuntimeError& e) {
    report(e);  // a malformed directive: reported to the caller
  }
  host->freeAll();
}

}  // namespace

void run(const uint8_t* data, size_t size) {
  prepare();
  std::u16string text = inputText(asBytes(data, size));
  if (refusedScript(text)) return;
  auto compiler = rt::make<engine::ScriptCompile>();
  rt::Ref<nubrel::VStream> vs = newByteStream();
  compiler->compile(text, *vs);
  fuzz::rewind(*vs);
  runScript(*vs);
}

void page(const uint8_t* data, size_t size) {
  prepare();
  std::u16string text = inputText(asBytes(data, size));
  if (refusedScript(text)) return;
  // Made directly: while fuzzing, the page library's classes may be refused
  // to scripts by name.
  auto compiler = rt::make<halvorn::QelCompile>();
  rt::Ref<nubrel::VStream> vs = newByteStream();
  compiler->openMemStream(vs.get());
  compiler->addCode(text);
  compiler->closeStream();
  fuzz::rewind(*vs);
  check(readsBack(*vs), "a compiled page does not read back");
  if (compiler->error().haveErr()) return;  // a page object would not run it
  fuzz::rewind(*vs);
  runScript(*vs);
}

void execStream(const uint8_t* data, size_t size) {
  prepare();
  std::string_view bytes = asBytes(data, size);
  if (refusedScript(bytes)) return;
  std::u16string path = writeTempFile("script.bin", bytes);
  auto s = newObject<nubrel::IStreamFile>(u"Nubrel.BinFileStream");
  if (s->openStream(path, nubrel::InStream)) runScript(*s);
}

}  // namespace fuzz
