#include "marlox/edittext.h"

namespace marlox {

std::u16string toCrLf(std::u16string_view editorText) { return toLines(editorText, u"\r\n"); }

std::u16string toLines(std::u16string_view editorText, std::u16string_view lineEnd) {
  std::u16string s;
  s.reserve(editorText.size() + editorText.size() / 16);
  for (char16_t c : editorText) {
    // The editor takes the noncharacters U+FDD0 and U+FDD1 as paragraph
    // breaks too: a file holding them does not read back as it was.
    if (c == u'\n' || c == u'\u2029' || c == u'\ufdd0' || c == u'\ufdd1') s += lineEnd;
    else s += c;
  }
  return s;
}

std::u16string toEditor(std::u16string_view text) {
  std::u16string s;
  s.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r') {
      s += text[i];
      continue;
    }
    s += u'\n';
    if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
  }
  return s;
}

}  // namespace marlox
