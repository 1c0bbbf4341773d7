#include "marlox/home.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "homedata.h"
#include "rt/fd.h"
#include "rt/paths.h"
#include "rt/text.h"

namespace marlox {

namespace {

constexpr char kProfile[] = "Marlox.ini";
constexpr char kHomeMark[] = "<home>";

bool exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

// The file's text as it goes to disk: in the system code page, and for the
// profile with the folder put in for "<home>".
std::string contentOf(const homedata::File& f, const std::string& folder) {
  std::string text(reinterpret_cast<const char*>(f.bytes), f.size);
  if (std::string(f.path) == kProfile)
    for (size_t at = text.find(kHomeMark); at != std::string::npos; at = text.find(kHomeMark, at + folder.size()))
      text.replace(at, sizeof kHomeMark - 1, folder);
  return rt::toAnsi(rt::fromUtf8(text));
}

// Writes a file that is not there yet; a failure leaves the folder as it is
// for that file (the program then starts with less).
void writeNew(const std::string& path, const std::string& content) {
  size_t cut = path.rfind('/');
  if (cut != std::string::npos && !rt::makePath(rt::fromUtf8(path.substr(0, cut)))) return;
  rt::Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.get() < 0) return;
  if (!rt::writeAll(fd.get(), content) || !fd.close()) ::unlink(path.c_str());
}

}  // namespace

std::string chooseHome(const std::string& homeArg, const std::string& exeDir) {
  if (!homeArg.empty()) return homeArg;
  if (std::string home = env("MARLOX_HOME"); !home.empty()) return home;
  if (!exeDir.empty() && exists(exeDir + "/" + kProfile)) return exeDir;
  std::string config = env("XDG_CONFIG_HOME");
  if (config.empty()) config = env("HOME") + "/.config";
  return config + "/marlox";
}

std::string prepareHome(const std::string& folder) {
  if (folder.empty() || !rt::makePath(rt::fromUtf8(folder))) return {};
  char real[PATH_MAX];
  if (!::realpath(folder.c_str(), real)) return {};
  std::string home = real;
  if (exists(home + "/" + kProfile)) return home;
  // The profile comes last, so a start cut short is seeded again.
  const homedata::File* profile = nullptr;
  for (size_t i = 0; i < homedata::kFileCount; ++i) {
    const homedata::File& f = homedata::kFiles[i];
    if (std::string(f.path) == kProfile) {
      profile = &f;
      continue;
    }
    std::string path = home + "/" + f.path;
    if (!exists(path)) writeNew(path, contentOf(f, home));
  }
  if (profile) writeNew(home + "/" + kProfile, contentOf(*profile, home));
  return home;
}

}  // namespace marlox
