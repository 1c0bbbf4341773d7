// The members of a string value.  Each call answers with a new value; GetLine
// and GetChar consume the text from its front, so a script reads a text line
// by line (or character by character) until the value is empty.
#include <limits>

#include "rt/text.h"
#include "scalars.h"

namespace fennick {

rt::Variant SvString::value() {
  if (head_ > 0) {
    value_.mutableText().erase(0, head_);
    head_ = 0;
  }
  return value_;
}

void SvString::letValue(const rt::Variant& v) {
  value_ = convert(v);
  head_ = 0;
}

rt::Ref<zorbel::ScriptValue> SvString::attr(std::u16string_view name) {
  const std::u16string& text = value_.text();
  if (rt::equalsNoCase(name, u"Length")) {
    size_t length = text.size() - head_;
    if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
      rt::raise(rt::err::Overflow);
    return newValue<SvLong>(rt::Variant(static_cast<int32_t>(length)));
  }
  if (rt::equalsNoCase(name, u"GetLine")) {
    // Only CR LF ends a line: a lone CR or LF stays inside it.
    size_t end = text.find(u"\r\n", head_);
    size_t next = end + 2;
    if (end == std::u16string::npos) end = next = text.size();
    rt::Ref<SvString> line = newValue<SvString>(rt::Variant(text.substr(head_, end - head_)));
    head_ = next;
    return line;
  }
  if (rt::equalsNoCase(name, u"GetChar")) {
    rt::Ref<SvString> first = newValue<SvString>(rt::Variant(text.substr(head_, 1)));
    if (head_ < text.size()) ++head_;
    return first;
  }
  return nullptr;
}

}  // namespace fennick
