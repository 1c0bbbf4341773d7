#include "fileinput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "targets.h"

namespace fuzz {

namespace {

void removeTempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(tempFolder(), ignored);
}

}  // namespace

const std::string& tempFolder() {
  // Never destroyed: the folder is removed at exit, after static destructors.
  static const std::string& folder = *new std::string([] {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zubfuzz-XXXXXX";
    check(::mkdtemp(pattern.data()) != nullptr, "cannot make the temporary folder");
    return pattern + "/";
  }());
  static const bool removed = std::atexit(removeTempFolder) == 0;
  (void)removed;
  return folder;
}

std::u16string writeTempFile(std::string_view name, std::string_view bytes) {
  std::string path = tempFolder() + std::string(name);
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  check(fd >= 0, "cannot write a temporary file");
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    check(n > 0, "cannot write a temporary file");
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  ::close(fd);
  return rt::fromUtf8(path);
}

FileInput splitFileInput(const uint8_t* data, size_t size) {
  FileInput in;
  if (size == 0) return in;
  in.cp936 = (data[0] & 1) != 0;
  in.file = asBytes(data + 1, size - 1);
  return in;
}

}  // namespace fuzz
