// The compiler on any text, whole and line by line; what it writes must
// always read back to its end record.
#include "core/scriptcompile.h"
#include "harness.h"
#include "rt/strings.h"
#include "targets.h"

namespace fuzz {

void compile(const uint8_t* data, size_t size) {
  prepare();
  std::u16string text = inputText(asBytes(data, size));

  auto whole = rt::make<engine::ScriptCompile>();
  rt::Ref<nubrel::VStream> vs = newByteStream();
  whole->compile(text, *vs);
  rewind(*vs);
  check(readsBack(*vs), "a compiled script does not read back");

  // Fed line by line, going on after errors.
  auto byLine = rt::make<engine::ScriptCompile>();
  rt::Ref<nubrel::VStream> lines = newByteStream();
  for (std::u16string_view line : rt::splitLines(text)) byLine->compileLine(line, *lines);
  byLine->compileEnd(*lines);
  rewind(*lines);
  check(readsBack(*lines), "a script compiled line by line does not read back");
}

}  // namespace fuzz
