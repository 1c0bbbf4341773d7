// Statement blocks on any text: every line is tokenized and fed to a
// BodyGeneral, which groups the lines into blocks at any depth.  Feeding
// goes on after an error, as no host would, so the blocks meet every order
// of lines; nothing is run.
#include "core/bodygeneral.h"
#include "rt/strings.h"
#include "targets.h"

namespace fuzz {

void blocks(const uint8_t* data, size_t size) {
  prepare();
  std::u16string text = inputText(asBytes(data, size));

  engine::BodyGeneral block;
  rt::Ref<engine::ExpItems> items = rt::make<engine::ExpItems>();
  for (std::u16string_view line : rt::splitLines(text)) {
    items->clear();
    items->init(line);
    block.addCode(*items);
    if (block.error().haveErr()) block.error().info().source();
  }
  block.hasOpenBlock();
}

}  // namespace fuzz
