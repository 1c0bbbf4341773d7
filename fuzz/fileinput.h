// Inputs that become files: the process's temporary folder, the options byte
// that file targets start with, and the code page an input asks for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "rt/activation.h"
#include "rt/text.h"
#include "targets.h"

namespace fuzz {

// A folder of this process (made on first use, removed at exit), with a
// trailing "/".
const std::string& tempFolder();
// Writes `bytes` as `name` in that folder; returns the file's full name.
std::u16string writeTempFile(std::string_view name, std::string_view bytes);

// A file target's input: byte 0 holds options, the file is the rest.
struct FileInput {
  bool cp936 = false;  // bit 0: the system code page is CP936 for this input
  std::string_view file;
};
FileInput splitFileInput(const uint8_t* data, size_t size);

// The code page for one input; the one before comes back at the end.
class CodePageScope {
 public:
  explicit CodePageScope(bool cp936) : saved_(rt::codePage()) {
    rt::setCodePage(cp936 ? rt::CodePage::Cp936 : rt::CodePage::Utf8);
  }
  ~CodePageScope() { rt::setCodePage(saved_); }
  CodePageScope(const CodePageScope&) = delete;
  CodePageScope& operator=(const CodePageScope&) = delete;

 private:
  rt::CodePage saved_;
};

// A new object of a registered class, as its interface I (which it must have).
template <class I>
rt::Ref<I> newObject(std::u16string_view progId) {
  rt::Ref<I> p = rt::queryRef<I>(rt::createObject(progId).get());
  check(p != nullptr, "a registered class lacks its interface");
  return p;
}

}  // namespace fuzz
