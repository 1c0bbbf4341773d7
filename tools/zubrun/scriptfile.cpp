#include "scriptfile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "nubrel/filestreams.h"
#include "rt/activation.h"
#include "rt/error.h"
#include "rt/fspath.h"
#include "rt/text.h"

namespace zubrun {

namespace {

// How the two object-stream files begin.
constexpr std::string_view kBinaryHeader = "\x88\x66\x66\x88";
constexpr std::string_view kTextHeader = "FFFFFFFF0000000CObjectStream";

}  // namespace

namespace {

bool failed(std::string* why, int error) {
  if (why) *why = std::strerror(error);
  return false;
}

// Reads `in` to its end.
bool readAll(std::FILE* in, const std::string& path, std::string& bytes, std::string* why) {
  bytes.clear();
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) {
    if (bytes.size() + n > kMaxScriptBytes)
      rt::raise(rt::err::OutOfMemory, u"文件[" + rt::fromUtf8(path) + u"]超过 " +
                                          rt::ascii(std::to_string(kMaxScriptBytes)) + u" 字节");
    bytes.append(buf, n);
  }
  return !std::ferror(in) || failed(why, errno);
}

// The interpreter line of an executable script gives way to an empty line,
// so that the lines keep their numbers.
std::u16string withoutInterpreterLine(std::u16string text) {
  if (!text.starts_with(u"#!")) return text;
  size_t end = text.find_first_of(u"\r\n");
  text.erase(0, end == text.npos ? text.size() : end);
  return text;
}

}  // namespace

bool readFile(const std::string& path, std::string& bytes, std::string* why) {
  if (path == kStandardInput) return readAll(stdin, path, bytes, why);
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return failed(why, EISDIR);
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return failed(why, errno);
  bool ok;
  try {
    ok = readAll(in, path, bytes, why);
  } catch (...) {
    std::fclose(in);
    throw;
  }
  std::fclose(in);
  return ok;
}

void requireRegularFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) rt::raise(rt::err::FileNotFound, rt::fromUtf8(path));
  if (!S_ISREG(st.st_mode))
    rt::raise(rt::err::PathFileAccess, rt::fromUtf8(path) + u" 不是普通文件");
}

std::u16string scriptText(std::string_view b) {
  if (b.starts_with("\xEF\xBB\xBF")) return withoutInterpreterLine(rt::fromUtf8(b.substr(3)));
  if (b.starts_with("\xFF\xFE")) {
    std::u16string text;
    for (size_t i = 2; i + 1 < b.size(); i += 2)
      text += static_cast<char16_t>(static_cast<unsigned char>(b[i]) |
                                    static_cast<unsigned char>(b[i + 1]) << 8);
    return withoutInterpreterLine(std::move(text));
  }
  return withoutInterpreterLine(rt::fromAnsi(b));
}

// A line is valid when it comes back the same through the code page.
// Lines end as the compiler ends them: CR LF, CR or LF (bytes that no
// double-byte character of the code pages has).
int32_t firstBadLine(std::string_view b) {
  auto valid = [](std::string_view s) { return rt::toAnsi(rt::fromAnsi(s)) == s; };
  if (b.starts_with("\xEF\xBB\xBF") || b.starts_with("\xFF\xFE") || valid(b)) return 0;
  int32_t number = 1;
  for (size_t start = 0; start < b.size(); ++number) {
    size_t end = b.find_first_of("\r\n", start);
    if (end == b.npos) end = b.size();
    if (!valid(b.substr(start, end - start))) return number;
    start = end + (b.substr(end, 2) == "\r\n" ? 2 : 1);
  }
  return 0;
}

void warnIfNotInCodePage(std::FILE* to, const char* tool, const std::string& path, std::string_view bytes) {
  if (int32_t bad = firstBadLine(bytes))
    std::fprintf(to,
                 "%s: warning: %s:%d: not valid in the code page %s; read with "
                 "replacement characters (ZUB_CODEPAGE names the code page)\n",
                 tool, path.c_str(), bad, rt::codePage() == rt::CodePage::Cp936 ? "CP936" : "UTF-8");
}

bool codePageKnown(const char* tool) {
  const char* name = std::getenv("ZUB_CODEPAGE");
  rt::CodePage cp;
  if (!name || rt::codePageNamed(name, cp)) return true;
  std::fprintf(stderr, "%s: unknown code page in ZUB_CODEPAGE: %s (UTF-8 or CP936)\n", tool, name);
  return false;
}

rt::Ref<nubrel::VStream> openCompiled(const std::string& path, std::string_view bytes) {
  rt::Guid clsid;
  if (bytes.starts_with(kBinaryHeader)) clsid = nubrel::IBinFileStream::clsid;
  else if (bytes.starts_with(kTextHeader)) clsid = nubrel::IFileStream::clsid;
  else return nullptr;
  rt::Ref<nubrel::IStreamFile> file =
      rt::queryRef<nubrel::IStreamFile>(rt::createInstance(clsid).get());
  if (!file) rt::raise(rt::err::NoAutomation);
  if (!file->openStream(rt::fromUtf8(path), nubrel::InStream))
    rt::raiseWith(rt::err::PathFileAccess, file->errInfo(), u"OpenStream");
  return file;
}

std::string includedPath(std::u16string_view written, const std::string& includer) {
  if (written.size() >= 2 && written.front() == u'"' && written.back() == u'"')
    written = written.substr(1, written.size() - 2);
  std::string path = rt::fs::nativePath(written);
  if (path.empty() || path.front() == '/') return path;
  size_t slash = includer.rfind('/');
  return slash == std::string::npos ? path : includer.substr(0, slash + 1) + path;
}

}  // namespace zubrun
