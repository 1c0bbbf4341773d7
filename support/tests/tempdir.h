// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <string>

#include "rt/error.h"
#include "rt/testing.h"
#include "rt/text.h"

namespace jespin::test {

// The shared temporary folder, with the names scripts give its files.
class TempDir : public rt::testing::TempDir {
 public:
  TempDir() : rt::testing::TempDir("jespin") {}

  // The folder's name as scripts see it: UTF-16, no separator at the end.
  std::u16string dir() const { return rt::fromUtf8(path().string()); }
  // A file in the folder as a script names it.
  std::u16string name(const std::string& n) const { return rt::fromUtf8(at(n)); }
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
