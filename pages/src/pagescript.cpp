// The page as its script sees it ("curPage"): text attributes, and every
// other member name a page member (pagesubs.h).
#include "names.h"
#include "pagesubs.h"
#include "rt/text.h"
#include "spage.h"
#include "values.h"
#include "zub/version.h"

namespace halvorn {

std::u16string SPage::version() {
  return u"Halvorn " + rt::ascii(ZUB_VERSION_TEXT);
}

rt::Ref<zorbel::ScriptValue> SPage::attr(std::u16string_view name) {
  auto is = [name](std::u16string_view n) { return rt::equalsNoCase(name, n); };
  if (is(u"Ver")) return singleValue(rt::Variant(version()));
  if (is(u"curQelFn")) return singleValue(rt::Variant(fileOf(qelFileName_)));
  if (is(u"curOutFn")) return singleValue(rt::Variant(fileOf(outFileName_)));
  if (is(u"QelBasePath")) return singleValue(rt::Variant(qelBasePath_));
  if (is(u"OutBasePath")) return singleValue(rt::Variant(outBasePath_));
  return SvPageSubs::bound(*this, name);
}

rt::Ref<zorbel::ScriptValue> SPage::objAttr(std::u16string_view name) {
  return SvPageSubs::bound(*this, name);
}

}  // namespace halvorn
