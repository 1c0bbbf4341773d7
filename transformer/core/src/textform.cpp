#include "marlox/textform.h"

#include <algorithm>
#include <cstdint>

#include "marlox/edittext.h"

namespace marlox {

namespace {

constexpr std::string_view kUtf8Mark = "\xef\xbb\xbf";
constexpr std::string_view kUtf16LeMark = "\xff\xfe";
constexpr std::string_view kUtf16BeMark = "\xfe\xff";
constexpr std::string_view kReplacementUtf8 = "\xef\xbf\xbd";

std::string_view markOf(rt::Encoding e) {
  switch (e) {
    case rt::Encoding::Utf8: return kUtf8Mark;
    case rt::Encoding::Utf16Le: return kUtf16LeMark;
    case rt::Encoding::Utf16Be: return kUtf16BeMark;
    case rt::Encoding::Cp936: break;
  }
  return {};
}

bool ascii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The bytes that reading `bytes` in `e` as `text` lost: each became a
// U+FFFD of its own, which UTF-8 can also hold as a character.
size_t lostBytes(std::string_view bytes, std::u16string_view text, rt::Encoding e) {
  size_t lost = static_cast<size_t>(std::count(text.begin(), text.end(), u'\uFFFD'));
  if (e == rt::Encoding::Utf8)
    for (size_t at = bytes.find(kReplacementUtf8); at != bytes.npos; at = bytes.find(kReplacementUtf8, at + 3)) --lost;
  return lost;
}

// How many bytes at the end of `bytes` begin a UTF-8 sequence that the end
// cuts short: a lead byte and the continuation bytes after it, so far as
// some continuation could still make them a character.  0 when the bytes
// end otherwise.
size_t cutSequence(std::string_view bytes) {
  for (size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
    const auto b = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((b & 0xC0) == 0x80) continue;
    const size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
    if (length <= back) return 0;
    // The lowest continuation or the highest ends every sequence begun
    // rightly: leads that narrow the next byte's range keep one of them.
    for (char fill : {'\x80', '\xbf'}) {
      std::string whole(bytes.substr(bytes.size() - back));
      whole.append(length - back, fill);
      if (rt::encode(rt::decode(whole, rt::Encoding::Utf8), rt::Encoding::Utf8) == whole) return back;
    }
    return 0;
  }
  return 0;
}

struct Reading {
  rt::Encoding encoding;
  std::u16string text;
};

// Bytes without a mark, in the encoding that reads them exactly, UTF-8
// before CP936; else in the one that loses the fewest of them (the system
// code page when both lose as many), so that saving the text loses only
// the bytes no encoding reads.  UTF-8 reads a file cut in the middle of
// its last character exactly but for the bytes cut off; ASCII before the
// cut says nothing of UTF-8, so there the system code page reads it.
Reading readUnmarked(std::string_view bytes) {
  const rt::Encoding ansi = rt::ansiEncoding();
  if (ascii(bytes)) return {ansi, rt::decode(bytes, ansi)};
  size_t cutUtf8 = cutSequence(bytes);
  if (ansi != rt::Encoding::Utf8 && ascii(bytes.substr(0, bytes.size() - cutUtf8))) cutUtf8 = 0;
  Reading best{ansi, {}};
  size_t fewest = SIZE_MAX;
  for (rt::Encoding e : {rt::Encoding::Utf8, rt::Encoding::Cp936}) {
    std::u16string text = rt::decode(bytes, e);
    const size_t lost = lostBytes(bytes, text, e);
    // Each byte cut off reads as a U+FFFD of its own, at the end.
    const size_t cut = e == rt::Encoding::Utf8 ? std::min(cutUtf8, text.size()) : 0;
    const std::u16string_view held = std::u16string_view(text).substr(0, text.size() - cut);
    if (lost == cut && rt::encode(held, e) == bytes.substr(0, bytes.size() - cut)) return {e, std::move(text)};
    if (lost < fewest || (lost == fewest && e == ansi)) {
      fewest = lost;
      best = {e, std::move(text)};
    }
  }
  return best;
}

// Whether `back`, the written `body` read again, holds all of it.  A
// U+FFFD stands for bytes that could not be read, and CP936 writes it as
// "?", its own stand-in: so a file read with loss and saved after a Yes is
// not asked about again.
bool holdsAll(std::u16string_view body, std::u16string_view back) {
  return std::equal(body.begin(), body.end(), back.begin(), back.end(),
                    [](char16_t b, char16_t r) { return b == r || (b == u'\uFFFD' && r == u'?'); });
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
  Reading reading = form.mark ? Reading{form.encoding, rt::decode(body, form.encoding)} : readUnmarked(body);
  form.encoding = reading.encoding;
  const std::u16string& decoded = reading.text;
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
  if (whole) *whole = holdsAll(body, rt::decode(bytes, form.encoding));
  if (form.mark) bytes.insert(0, markOf(form.encoding));
  return bytes;
}

}  // namespace marlox
