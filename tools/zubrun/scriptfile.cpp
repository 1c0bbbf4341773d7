#include "scriptfile.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "nubrel/filestreams.h"
#include "rt/activation.h"
#include "rt/error.h"
#include "rt/text.h"

namespace zubrun {

namespace {

// How the two object-stream files begin.
constexpr std::string_view kBinaryHeader = "\x88\x66\x66\x88";
constexpr std::string_view kTextHeader = "FFFFFFFF0000000CObjectStream";

}  // namespace

bool readFile(const std::string& path, std::string& bytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.clear();
  char buf[65536];
  while (in) {
    in.read(buf, sizeof buf);
    if (bytes.size() + static_cast<size_t>(in.gcount()) > kMaxScriptBytes)
      rt::raise(rt::err::OutOfMemory, u"文件[" + rt::fromUtf8(path) + u"]超过 " +
                                          rt::ascii(std::to_string(kMaxScriptBytes)) + u" 字节");
    bytes.append(buf, static_cast<size_t>(in.gcount()));
  }
  return !in.bad();
}

void requireRegularFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) rt::raise(rt::err::FileNotFound, rt::fromUtf8(path));
  if (!S_ISREG(st.st_mode))
    rt::raise(rt::err::PathFileAccess, rt::fromUtf8(path) + u" 不是普通文件");
}

std::u16string scriptText(std::string_view b) {
  if (b.starts_with("\xEF\xBB\xBF")) return rt::fromUtf8(b.substr(3));
  if (b.starts_with("\xFF\xFE")) {
    std::u16string text;
    for (size_t i = 2; i + 1 < b.size(); i += 2)
      text += static_cast<char16_t>(static_cast<unsigned char>(b[i]) |
                                    static_cast<unsigned char>(b[i + 1]) << 8);
    return text;
  }
  return rt::fromAnsi(b);
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
  std::string path = rt::toUtf8(written);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.empty() || path.front() == '/') return path;
  size_t slash = includer.rfind('/');
  return slash == std::string::npos ? path : includer.substr(0, slash + 1) + path;
}

}  // namespace zubrun
