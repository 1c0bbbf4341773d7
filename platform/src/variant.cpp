#include "rt/variant.h"

#include "rt/strings.h"

namespace rt {

void Variant::releasePayload() noexcept {
  switch (vt_) {
    case VT::String:
      if (--u_.text->refs == 0) delete u_.text;
      break;
    case VT::ByteArray:
      if (--u_.bytes->refs == 0) delete u_.bytes;
      break;
    case VT::Object:
      if (u_.obj) u_.obj->release();
      break;
    default:
      break;
  }
}

void Variant::appendText(std::u16string_view s) {
  std::u16string& t = mutableText();
  ensureTextRoom(t.size(), s.size());
  t.append(s);
}

std::u16string& Variant::mutableText() {
  if (u_.text->refs > 1) {
    auto* copy = new detail::TextRep{1, u_.text->text};
    --u_.text->refs;
    u_.text = copy;
  }
  return u_.text->text;
}

ByteArray& Variant::mutableBytes() {
  if (u_.bytes->refs > 1) {
    auto* copy = new detail::BytesRep{1, u_.bytes->array};
    --u_.bytes->refs;
    u_.bytes = copy;
  }
  return u_.bytes->array;
}

std::u16string_view typeNameOf(VT vt) {
  switch (vt) {
    case VT::Empty: return u"Empty";
    case VT::Null: return u"Null";
    case VT::Integer: return u"Integer";
    case VT::Long: return u"Long";
    case VT::Single: return u"Single";
    case VT::Double: return u"Double";
    case VT::Currency: return u"Currency";
    case VT::Date: return u"Date";
    case VT::String: return u"String";
    case VT::Object: return u"Object";
    case VT::Boolean: return u"Boolean";
    case VT::Decimal: return u"Decimal";
    case VT::Byte: return u"Byte";
    case VT::ByteArray: return u"Byte()";
  }
  return u"Unknown";
}

}  // namespace rt
