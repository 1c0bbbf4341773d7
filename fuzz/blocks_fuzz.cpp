// Statement blocks on any text: every line is tokenized and fed to a
// BodyGeneral, which groups the lines into blocks at any depth.  Feeding
// goes on after an error, as no host would, so the blocks meet every order
// of lines; nothing is run.
#include "core/bodygeneral.h"
#include "core/sourcetext.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool installed = (fuzz::installClasses(), true);
  (void)installed;
  std::u16string text = fuzz::inputText(data, size);

  engine::BodyGeneral block;
  rt::Ref<engine::ExpItems> items = rt::make<engine::ExpItems>();
  for (std::u16string_view line : engine::splitLines(text)) {
    items->clear();
    items->init(line);
    block.addCode(*items);
    if (block.error().haveErr()) block.error().info().source();
  }
  block.hasOpenBlock();
  return 0;
}
