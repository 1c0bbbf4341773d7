#include "sandbox.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/landlock.h>
#include <sys/auxv.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "rt/activation.h"
#include "rt/error.h"
#include "rt/text.h"

namespace fuzz {

namespace {

// Every change to the file system the first Landlock version knows of
// (later ones add rights that only narrow what is left).
constexpr uint64_t kChanges = LANDLOCK_ACCESS_FS_WRITE_FILE | LANDLOCK_ACCESS_FS_REMOVE_DIR |
                              LANDLOCK_ACCESS_FS_REMOVE_FILE | LANDLOCK_ACCESS_FS_MAKE_CHAR |
                              LANDLOCK_ACCESS_FS_MAKE_DIR | LANDLOCK_ACCESS_FS_MAKE_REG |
                              LANDLOCK_ACCESS_FS_MAKE_SOCK | LANDLOCK_ACCESS_FS_MAKE_FIFO |
                              LANDLOCK_ACCESS_FS_MAKE_BLOCK | LANDLOCK_ACCESS_FS_MAKE_SYM;

// The ruleset attributes of Landlock 6, which can also keep signals inside
// the confined processes; older kernels take the first field alone.
struct RulesetAttr {
  uint64_t handledAccessFs;
  uint64_t handledAccessNet;
  uint64_t scoped;
};
constexpr uint64_t kScopeSignal = 1u << 1;

constexpr std::u16string_view kStartsPrograms[] = {u"shell"};
// The Dir library's functions that change files, and the way to reach a
// function by a computed name (a space's Value).
constexpr std::u16string_view kChangesFiles[] = {u"chdir",    u"chdrive", u"setattr",
                                                 u"filecopy", u"kill",    u"mkdir",
                                                 u"rmdir",    u"rename",  u"sspace"};

// Classes that never change files; an engine makes its own directly.
bool harmless(std::u16string_view progId) {
  for (std::u16string_view library : {u"fennick.", u"kestrin.", u"dovrel."})
    if (progId.starts_with(library)) return true;
  for (std::u16string_view cls :
       {u"jespin.textfile", u"jespin.profile", u"nubrel.binfilestream", u"nubrel.filestream"})
    if (progId == cls) return false;
  return progId.starts_with(u"jespin.") || progId.starts_with(u"nubrel.");
}

// The folders whose programs may run: the sanitizers' symbolizer (found as
// they find it) and the program loader it needs.  Nothing else starts.
std::vector<std::string> startableFolders() {
  std::vector<std::string> folders;
  auto addFolderOf = [&](const std::string& file) {
    char* real = ::realpath(file.c_str(), nullptr);
    if (!real) return;
    std::string r(real);
    std::free(real);
    folders.push_back(r.substr(0, r.rfind('/')));
  };
  if (const char* s = std::getenv("ASAN_SYMBOLIZER_PATH"); s && *s) addFolderOf(s);
  std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
  for (size_t start = 0; start <= path.size();) {
    size_t end = std::min(path.find(':', start), path.size());
    std::string candidate = path.substr(start, end - start) + "/llvm-symbolizer";
    if (::access(candidate.c_str(), X_OK) == 0) {
      addFolderOf(candidate);
      break;
    }
    start = end + 1;
  }
  Dl_info loader{};
  if (::dladdr(reinterpret_cast<void*>(::getauxval(AT_BASE)), &loader) && loader.dli_fname)
    addFolderOf(loader.dli_fname);
  return folders;
}

bool allowBeneath(int ruleset, const std::string& folder, uint64_t access) {
  landlock_path_beneath_attr beneath{};
  beneath.allowed_access = access;
  beneath.parent_fd = ::open(folder.c_str(), O_PATH | O_CLOEXEC);
  if (beneath.parent_fd < 0) return false;
  bool ok = ::syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &beneath, 0) == 0;
  ::close(beneath.parent_fd);
  return ok;
}

bool holdsAny(std::u16string_view folded, std::span<const std::u16string_view> words) {
  for (std::u16string_view w : words)
    if (folded.find(w) != std::u16string_view::npos) return true;
  return false;
}

}  // namespace

// Processes started inherit the confinement, and only the symbolizer can
// be started at all.
bool confineFileChanges(const std::vector<std::string>& folders) {
  const long abi =
      ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
  if (abi < 1) return false;
  RulesetAttr attr{kChanges | LANDLOCK_ACCESS_FS_EXECUTE, 0, abi >= 6 ? kScopeSignal : 0};
  const size_t size = abi >= 6 ? sizeof attr : sizeof attr.handledAccessFs;
  int ruleset = static_cast<int>(::syscall(SYS_landlock_create_ruleset, &attr, size, 0));
  if (ruleset < 0) return false;
  bool ok = true;
  for (const std::string& folder : folders) ok = ok && allowBeneath(ruleset, folder, kChanges);
  for (const std::string& folder : startableFolders())
    allowBeneath(ruleset, folder, LANDLOCK_ACCESS_FS_EXECUTE);  // without it: no symbols
  ok = ok && ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
       ::syscall(SYS_landlock_restrict_self, ruleset, 0) == 0;
  ::close(ruleset);
  return ok;
}

void refuseClassesThatChangeFiles() {
  for (const rt::RegisteredClass& c : rt::listRegisteredClasses()) {
    std::u16string progId = rt::fromUtf8(c.progId);
    if (harmless(rt::foldCase(progId))) continue;
    rt::registerLocalClass(progId, c.clsid, []() -> rt::Ref<rt::Object> {
      rt::raise(rt::err::CannotCreateObject, u"not while fuzzing");
    });
  }
}

bool namesUnsafeFunction(std::u16string_view script, bool filesToo) {
  // Names match as the engine matches them: folded, full-width forms too.
  std::u16string folded = rt::foldCase(script);
  return holdsAny(folded, kStartsPrograms) || (filesToo && holdsAny(folded, kChangesFiles));
}

bool namesUnsafeFunction(std::string_view script, bool filesToo) {
  // Names in a compiled stream are UTF-8: every name decodes whole.
  return namesUnsafeFunction(std::u16string_view(rt::fromUtf8(script)), filesToo);
}

}  // namespace fuzz
