// Scripts on the first-edition engine: any text fed line by line to a host,
// and any bytes run as a compiled stream, each under the limits of a fuzzed
// run (scriptrun.h) and then told the end of the text.
#include "fileinput.h"
#include "nubrel/filestreams.h"
#include "rt/strings.h"
#include "scripthost.h"
#include "scriptrun.h"
#include "targets.h"

namespace fuzz {

namespace {

// Runs `feed` on a fresh host, then ends its text.
template <class Feed>
void onHost(Feed feed) {
  ScriptRun run;
  rt::Ref<dovrel::ScriptHost> host = dovrel::ScriptHost::create();
  host->advise(quietEvents());
  try {
    feed(*host);
  } catch (const rt::RuntimeError& e) {
    report(e);  // a malformed directive of a stream: reported to the caller
  }
  host->execEnd();
  report(host->error());
  host->freeAll();
}

}  // namespace

void lines(const uint8_t* data, size_t size) {
  prepare();
  std::u16string text = inputText(asBytes(data, size));
  if (refusedScript(text)) return;
  onHost([&](dovrel::ScriptHost& host) {
    for (std::u16string_view line : rt::splitLines(text)) {
      host.execLine(line);
      report(host.error());  // the next line runs as a program going on would run it
    }
  });
}

void stream(const uint8_t* data, size_t size) {
  prepare();
  std::string_view bytes = asBytes(data, size);
  if (refusedScript(bytes)) return;
  std::u16string path = writeTempFile("script.bin", bytes);
  auto s = newObject<nubrel::IStreamFile>(u"Nubrel.BinFileStream");
  if (!s->openStream(path, nubrel::InStream)) return;
  onHost([&](dovrel::ScriptHost& host) {
    host.execStream(*s);
    report(host.error());
  });
}

const std::span<const NamedTarget> allTargets() {
  static const NamedTarget targets[] = {{"lines", lines}, {"stream", stream}};
  return targets;
}

}  // namespace fuzz
