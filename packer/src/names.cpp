#include "names.h"

#include "rt/error.h"
#include "rt/paths.h"
#include "rt/text.h"

namespace wistel {

namespace {
// textOfBytes keeps the byte b as the unit kByteUnit + b.
constexpr char16_t kByteUnit = 0xDC00;

// The bytes of the character that starts `bytes`, decoded into `c`: the
// fewest (up to four) that decode and encode back to themselves.  0 when
// no character starts there.
size_t charLength(std::string_view bytes, rt::Encoding e, std::u16string& c) {
  for (size_t n = 1; n <= 4 && n <= bytes.size(); ++n) {
    std::string_view part = bytes.substr(0, n);
    c = rt::decode(part, e);
    if (rt::encode(c, e) == part) return n;
  }
  return 0;
}

}  // namespace

std::u16string_view unusableName(std::u16string_view name) {
  if (name.empty()) return u"名称为空";
  if (name == u"." || name == u"..") return u"名称指向上级或本级文件夹";
  if (name.find_first_of(std::u16string_view(u"/\\\0", 3)) != std::u16string_view::npos)
    return u"名称中含有路径分隔符或空字符";
  return {};
}

bool storable(std::u16string_view text) { return rt::fromAnsi(rt::toAnsi(text)) == text; }

std::u16string folderPath(std::u16string_view dirPath) {
  if (dirPath.empty()) rt::raise(rt::err::BadFileName, u"没有指定文件夹");
  return rt::folderPath(dirPath);
}

std::u16string textOfBytes(std::string_view bytes, rt::Encoding e) {
  std::u16string text = rt::decode(bytes, e);
  if (rt::encode(text, e) == bytes) return text;
  text.clear();
  for (size_t i = 0; i < bytes.size();) {
    std::u16string c;
    size_t n = charLength(bytes.substr(i), e, c);
    if (n == 0) {
      text += static_cast<char16_t>(kByteUnit + static_cast<uint8_t>(bytes[i]));
      n = 1;
    } else {
      text += c;
    }
    i += n;
  }
  return text;
}

std::u16string shownName(std::u16string_view name) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string shown;
  shown.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    char16_t c = name[i];
    bool pairHalf = i > 0 && name[i - 1] >= 0xD800 && name[i - 1] < 0xDC00;
    if (c < 0x20 || c == 0x7F || (c >= kByteUnit + 0x80 && c <= kByteUnit + 0xFF && !pairHalf)) {
      uint8_t b = static_cast<uint8_t>(c);
      shown += {u'\\', u'x', kHex[b >> 4], kHex[b & 0xF]};
    } else if ((c >= 0x80 && c < 0xA0) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069)) {
      shown += {u'\\', u'u', kHex[c >> 12], kHex[(c >> 8) & 0xF], kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
    } else {
      shown += c;
    }
  }
  return shown;
}

bool isTextName(std::string_view native) { return rt::toUtf8(rt::fromUtf8(native)) == native; }

}  // namespace wistel
