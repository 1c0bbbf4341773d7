#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "rt/activation.h"
#include "rt/text.h"
#include "streaminput.h"
#include "targets.h"

namespace fuzz {

void prepare() {
  static const bool done = [] {
    registerNode();
    // Loaded now rather than inside the first input, so that the fuzzer
    // sees every library's coverage from the start.
    for (const char16_t* progId :
         {u"Jespin.ErrInfo", u"Nubrel.MemStream", u"Fennick.SvString", u"Kestrin.SvStrFuns",
          u"Wistel.PackInfo"})
      rt::createObject(progId);
    return true;
  }();
  (void)done;
}

namespace {

std::vector<std::string>& folders() {
  static std::vector<std::string> f;
  return f;
}

// The folder of a path prefix such as "crashes/run-".
std::string folderOf(const std::string& prefix) {
  size_t slash = prefix.rfind('/');
  return slash == std::string::npos ? "." : prefix.substr(0, slash + 1);
}

}  // namespace

void noteFuzzerArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (!arg.starts_with('-')) {
      // A corpus folder, or an input run on its own: its folder then.
      std::error_code ignored;
      folders().push_back(std::filesystem::is_directory(arg, ignored) ? arg : folderOf(arg));
      continue;
    }
    for (std::string_view flag : {"-artifact_prefix=", "-exact_artifact_path="})
      if (arg.starts_with(flag)) folders().push_back(folderOf(arg.substr(flag.size())));
  }
}

const std::vector<std::string>& fuzzerFolders() { return folders(); }

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

std::u16string inputText(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    std::u16string s((bytes.size() - 2) / 2, u'\0');
    std::memcpy(s.data(), bytes.data() + 2, s.size() * 2);
    return s;
  }
  return rt::fromUtf8(bytes);
}

}  // namespace fuzz
