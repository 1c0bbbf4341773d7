// The compiler on any text, whole and line by line; what it writes must
// always read back to its end record.
#include "core/scriptcompile.h"
#include "core/sourcetext.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool installed = (fuzz::installClasses(), true);
  (void)installed;
  std::u16string text = fuzz::inputText(data, size);

  auto whole = rt::make<engine::ScriptCompile>();
  rt::Ref<nubrel::VStream> vs = fuzz::newByteStream();
  whole->compile(text, *vs);
  fuzz::rewind(*vs);
  if (!fuzz::readsBack(*vs)) __builtin_trap();

  // Fed line by line, going on after errors.
  auto byLine = rt::make<engine::ScriptCompile>();
  rt::Ref<nubrel::VStream> lines = fuzz::newByteStream();
  for (std::u16string_view line : engine::splitLines(text)) byLine->compileLine(line, *lines);
  byLine->compileEnd(*lines);
  fuzz::rewind(*lines);
  if (!fuzz::readsBack(*lines)) __builtin_trap();
  return 0;
}
