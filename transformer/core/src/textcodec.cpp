#include "marlox/textcodec.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "rt/text.h"

namespace marlox {

namespace {

std::string lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '"')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '"')) s.remove_suffix(1);
  return s;
}

class Converter {
 public:
  explicit Converter(const std::string& from) : cd_(iconv_open("UTF-16LE", from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::u16string run(std::string_view bytes) {
    std::u16string text;
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char16_t buffer[4096];
    while (inLeft > 0) {
      char* out = reinterpret_cast<char*>(buffer);
      size_t outLeft = sizeof buffer;
      size_t r = iconv(cd_, &in, &inLeft, &out, &outLeft);
      text.append(buffer, (sizeof buffer - outLeft) / 2);
      if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
      // An invalid or cut sequence: one replacement character, one byte on.
      text += u'\uFFFD';
      ++in;
      --inLeft;
    }
    return text;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string charsetOf(std::string_view contentType) {
  std::string folded = lower(contentType);
  size_t at = folded.find("charset=");
  if (at == std::string::npos) return {};
  std::string_view rest = std::string_view(contentType).substr(at + 8);
  return std::string(trimmed(rest.substr(0, rest.find(';'))));
}

bool decodeText(std::string_view bytes, std::string_view charset, std::u16string& text) {
  std::string name = lower(charset);
  if (name.empty() || name == "utf-8" || name == "utf8") {
    text = rt::fromUtf8(bytes);
    return true;
  }
  Converter converter(name);
  if (!converter.ok()) return false;
  text = converter.run(bytes);
  return true;
}

}  // namespace marlox
