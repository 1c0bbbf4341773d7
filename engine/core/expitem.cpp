#include "core/expitem.h"

#include "core/tables.h"
#include "rt/convert.h"

namespace engine {

namespace {

constexpr int kKindString = 0x00;
constexpr int kKindDate = 0x03;

int literalKind(int32_t code) { return (code >> 16) & 0xFF; }

// Codes from here up (string literals and any other literal kind) carry text.
constexpr int32_t kFirstTextCode = 0x03000000;

}  // namespace

std::u16string ExpItem::toString() const {
  switch (tok::classOf(iType)) {
    case tok::ClassKeyword:
    case tok::ClassOperator:
      return codeToText(iType);
    case tok::ClassLiteral:
      if (literalKind(iType) == kKindString) return u"\"" + rt::toText(iValue) + u"\"";
      if (literalKind(iType) == kKindDate) return u"#" + rt::toText(iValue) + u"#";
      return rt::toText(iValue);
    default:
      return rt::toText(iValue);
  }
}

void ExpItem::writeStream(nubrel::VStream& vs) const {
  vs.setVLong(iType);
  switch (iType) {
    case tok::Name: vs.setVString(rt::toText(iValue)); return;
    case tok::IntegerLit: vs.setVLong(rt::toLong(iValue)); return;
    case tok::FloatLit: vs.setVDouble(rt::toDouble(iValue)); return;
    case tok::DateLit: vs.setVDate(rt::toDate(iValue)); return;
    default:
      if (iType >= kFirstTextCode) vs.setVString(rt::toText(iValue));
  }
}

void ExpItem::readStream(nubrel::VStream& vs) {
  iType = vs.vLong();
  switch (iType) {
    case tok::Name: iValue = vs.vString(); return;
    case tok::IntegerLit: iValue = vs.vLong(); return;
    case tok::FloatLit: iValue = vs.vDouble(); return;
    case tok::DateLit: iValue = vs.vDate(); return;
    default:
      if (iType >= kFirstTextCode) iValue = vs.vString();
      else iValue.clear();
  }
}

}  // namespace engine
