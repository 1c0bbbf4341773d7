// The declarations of a Dim line, "Dim a As Long, b As String", read the
// same way by both editions.
#pragma once

#include <string>

#include "core/expitems.h"
#include "core/tokencode.h"
#include "rt/convert.h"

namespace engine {

// Calls declare(name, type) for each name of the line that has an As, in
// order, as the line is read: its type is the last word after the As (a
// later word in the same place replaces an earlier).  A name without As
// declares nothing: the scope makes a plain variable on first use.
template <class Declare>
void readDimDeclarations(const ExpItems& eis, Declare&& declare) {
  std::u16string name;
  std::u16string type = u"Variant";
  bool afterAs = false;
  auto end = [&] {
    if (afterAs) declare(name, type);
    type = u"Variant";
    afterAs = false;
  };
  for (int32_t i = 2; i <= eis.count(); ++i) {
    const ExpItem& ei = eis.item(i);
    if (ei.iType == tok::As) afterAs = true;
    else if (ei.iType == tok::Comma) end();
    else if (ei.iType == tok::Name) (afterAs ? type : name) = rt::toText(ei.iValue);
  }
  end();
}

}  // namespace engine
