// The tokenizer, define expansion and the tree builder on any text.
//
// Lines that start with "#" define a macro: the first word is its name, the
// rest its body.  Every other line is tokenized, its token list written and
// read back, its macros expanded, and its tree built.
#include <map>

#include "core/createtree.h"
#include "core/defines.h"
#include "harness.h"
#include "rt/strings.h"
#include "rt/text.h"
#include "targets.h"

namespace fuzz {

void tokenize(const uint8_t* data, size_t size) {
  prepare();
  std::u16string text = inputText(asBytes(data, size));

  std::map<std::u16string, rt::Ref<engine::ExpItems>> macros;
  engine::DefineLookup lookup = [&](std::u16string_view name) -> const engine::ExpItems* {
    auto it = macros.find(rt::foldCase(name));
    return it == macros.end() ? nullptr : it->second.get();
  };

  for (std::u16string_view line : rt::splitLines(text)) {
    rt::Ref<engine::ExpItems> items = rt::make<engine::ExpItems>();
    if (!line.empty() && line.front() == u'#') {
      std::u16string rest(line.substr(1));
      std::u16string name = rt::splitHead(rest, u" ");
      items->init(rest);
      macros[rt::foldCase(name)] = items;
      continue;
    }
    items->init(line);
    items->toString();

    // The token-list form reads back to the same codes.
    rt::Ref<nubrel::VStream> vs = newByteStream();
    items->writeStream(*vs);
    rewind(*vs);
    rt::Ref<engine::ExpItems> back = rt::make<engine::ExpItems>();
    back->readStream(*vs);
    check(back->count() == items->count(), "a token list reads back with another count");
    for (int32_t i = 1; i <= items->count(); ++i)
      check(back->item(i).iType == items->item(i).iType, "a token reads back with another code");

    try {
      engine::expandDefines(*items, lookup);
    } catch (const rt::RuntimeError&) {
      // A macro argument list without its ")": a reported error.
    }
    engine::CreateTree ct;
    for (const engine::ExpItem& ei : *items) ct.add(ei);
    ct.finish();
    ct.root().toString();
    try {
      engine::mkTree(*items)->toString();
    } catch (const rt::RuntimeError&) {
    }
  }
}

}  // namespace fuzz
