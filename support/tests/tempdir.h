// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "rt/error.h"
#include "rt/text.h"

namespace jespin::test {

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "jespin-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder's name as scripts see it: UTF-16, no separator at the end.
  std::u16string dir() const { return rt::fromUtf8(path_.string()); }
  // A file in the folder (file-system name / script name).
  std::string at(const std::string& name) const { return (path_ / name).string(); }
  std::u16string name(const std::string& n) const { return rt::fromUtf8(at(n)); }

  void write(const std::string& n, std::string_view bytes) const {
    std::ofstream(at(n), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string read(const std::string& n) const {
    std::ifstream in(at(n), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool exists(const std::string& n) const { return std::filesystem::exists(path_ / n); }

 private:
  std::filesystem::path path_;
};

// The bytes of a UTF-16 little-endian text.
inline std::string utf16le(std::u16string_view s) {
  std::string out;
  for (char16_t u : s) {
    out.push_back(static_cast<char>(u & 0xff));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

// Pins the code page for one test and restores UTF-8 afterwards.
class CodePageScope {
 public:
  explicit CodePageScope(rt::CodePage cp) { rt::setCodePage(cp); }
  ~CodePageScope() { rt::setCodePage(rt::CodePage::Utf8); }
};

// The number of a raised runtime error, or 0 when `f` raises none.
template <class F>
int32_t raisedNumber(F&& f) {
  try {
    f();
  } catch (const rt::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace jespin::test
