#include "scriptfile.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "nubrel/filestreams.h"
#include "rt/activation.h"
#include "rt/error.h"
#include "rt/text.h"

namespace zubrun {

namespace {

// How the two object-stream files begin.
constexpr std::string_view kBinaryHeader = "\x88\x66\x66\x88";
constexpr std::string_view kTextHeader = "FFFFFFFF0000000CObjectStream";

std::string firstBytes(const std::string& path, size_t n) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(n, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(n));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

}  // namespace

bool readScript(const std::string& path, std::u16string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  std::string_view b(bytes);
  if (b.starts_with("\xEF\xBB\xBF")) {
    text = rt::fromUtf8(b.substr(3));
  } else if (b.starts_with("\xFF\xFE")) {
    text.clear();
    for (size_t i = 2; i + 1 < b.size(); i += 2)
      text += static_cast<char16_t>(static_cast<unsigned char>(b[i]) |
                                    static_cast<unsigned char>(b[i + 1]) << 8);
  } else {
    text = rt::fromAnsi(b);
  }
  return true;
}

rt::Ref<nubrel::VStream> openCompiled(const std::string& path) {
  std::string head = firstBytes(path, kTextHeader.size());
  rt::Guid clsid;
  if (head.starts_with(kBinaryHeader)) clsid = nubrel::IBinFileStream::clsid;
  else if (head == kTextHeader) clsid = nubrel::IFileStream::clsid;
  else return nullptr;
  rt::Ref<nubrel::IStreamFile> file =
      rt::queryRef<nubrel::IStreamFile>(rt::createInstance(clsid).get());
  if (!file) rt::raise(rt::err::NoAutomation);
  if (!file->openStream(rt::fromUtf8(path), nubrel::InStream))
    rt::raiseWith(rt::err::PathFileAccess, file->errInfo(), u"OpenStream");
  return file;
}

std::string includedPath(std::u16string_view spec, const std::string& includer) {
  if (spec.size() >= 2 && spec.front() == u'"' && spec.back() == u'"')
    spec = spec.substr(1, spec.size() - 2);
  std::string path = rt::toUtf8(spec);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.empty() || path.front() == '/') return path;
  size_t slash = includer.rfind('/');
  return slash == std::string::npos ? path : includer.substr(0, slash + 1) + path;
}

}  // namespace zubrun
