#include "marlox/textform.h"

#include <algorithm>

#include "marlox/edittext.h"

namespace marlox {

namespace {

constexpr std::string_view kUtf8Mark = "\xef\xbb\xbf";
constexpr std::string_view kUtf16LeMark = "\xff\xfe";
constexpr std::string_view kUtf16BeMark = "\xfe\xff";

std::string_view markOf(rt::Encoding e) {
  switch (e) {
    case rt::Encoding::Utf8: return kUtf8Mark;
    case rt::Encoding::Utf16Le: return kUtf16LeMark;
    case rt::Encoding::Utf16Be: return kUtf16BeMark;
    case rt::Encoding::Cp936: break;
  }
  return {};
}

bool readsBack(std::string_view bytes, rt::Encoding e) { return rt::encode(rt::decode(bytes, e), e) == bytes; }

bool ascii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The encoding of bytes without a mark.
rt::Encoding guessEncoding(std::string_view bytes) {
  if (ascii(bytes)) return rt::ansiEncoding();
  if (readsBack(bytes, rt::Encoding::Utf8)) return rt::Encoding::Utf8;
  if (readsBack(bytes, rt::Encoding::Cp936)) return rt::Encoding::Cp936;
  return rt::ansiEncoding();
}

// The first line end of `text`; CR LF when it has none.
std::u16string firstLineEnd(std::u16string_view text) {
  size_t at = text.find_first_of(u"\r\n");
  if (at == std::u16string_view::npos) return u"\r\n";
  if (text[at] == u'\n') return u"\n";
  return at + 1 < text.size() && text[at + 1] == u'\n' ? u"\r\n" : u"\r";
}

}  // namespace

ReadText readText(std::string_view bytes) {
  ReadText read;
  TextForm& form = read.form;
  for (rt::Encoding e : {rt::Encoding::Utf8, rt::Encoding::Utf16Le, rt::Encoding::Utf16Be})
    if (bytes.starts_with(markOf(e))) {
      form.encoding = e;
      form.mark = true;
    }
  std::string_view body = bytes.substr(form.mark ? markOf(form.encoding).size() : 0);
  if (!form.mark) form.encoding = guessEncoding(body);
  std::u16string decoded = rt::decode(body, form.encoding);
  form.lineEnd = firstLineEnd(decoded);
  form.finalBreak = !decoded.empty() && (decoded.back() == u'\n' || decoded.back() == u'\r');
  read.text = toEditor(decoded);
  if (form.finalBreak) read.text.pop_back();
  read.exact = writeText(read.text, form) == bytes;
  return read;
}

std::string writeText(std::u16string_view text, const TextForm& form, bool* whole) {
  std::u16string body = toLines(text, form.lineEnd);
  if (form.finalBreak) body += form.lineEnd;
  std::string bytes = rt::encode(body, form.encoding);
  if (whole) *whole = rt::decode(bytes, form.encoding) == body;
  if (form.mark) bytes.insert(0, markOf(form.encoding));
  return bytes;
}

}  // namespace marlox
