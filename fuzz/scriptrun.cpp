#include "scriptrun.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/steps.h"
#include "fileinput.h"
#include "rt/text.h"
#include "sandbox.h"
#include "targets.h"

#if defined(__SANITIZE_ADDRESS__)
#define FUZZ_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FUZZ_ASAN 1
#endif
#endif

#ifdef FUZZ_ASAN
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace fuzz {

namespace {

// Every step is checked: one statement can double a text.
constexpr uint64_t kMaxSteps = 20000;
constexpr size_t kMaxHeapBytes = size_t{256} << 20;

size_t heapInUse() {
#ifdef FUZZ_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;  // large blocks are mapped apart
#endif
}

const char16_t* checkRun() {
  if (engine::steps::budget.count >= kMaxSteps) return u"运行超过 20000 步";
  if (heapInUse() > kMaxHeapBytes) return u"内存用量超过 256 MB";
  engine::steps::budget.limit = engine::steps::budget.count + 1;
  return nullptr;
}

const bool kVerbose = std::getenv("ZUB_FUZZ_VERBOSE") != nullptr;

class Quiet final : public engine::ScriptHostEvents {
 public:
  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<engine::ScriptHostEvents>(this, iid);
  }
  void output(const std::u16string& s) override {
    if (kVerbose) std::fputs(rt::toUtf8(s).c_str(), stderr);
  }
};

struct Sandbox {
  bool confined = false;  // else unsafe functions are kept out by name
  std::string work;       // the current folder of every run
  std::string home;       // the current folder to come back to
};

const Sandbox& sandbox() {
  static const Sandbox s = [] {
    Sandbox s;
    s.work = tempFolder() + "work";
    char* cwd = ::getcwd(nullptr, 0);
    s.home = cwd ? cwd : ".";
    std::free(cwd);
    std::vector<std::string> writable = fuzzerFolders();
    writable.push_back(tempFolder());
    s.confined = confineFileChanges(writable);
    if (!s.confined) refuseClassesThatChangeFiles();
    if (kVerbose) std::fprintf(stderr, "scripts %s\n", s.confined ? "confined" : "not confined");
    return s;
  }();
  return s;
}

}  // namespace

bool refusedScript(std::u16string_view text) {
  return namesUnsafeFunction(text, !sandbox().confined);
}

bool refusedScript(std::string_view bytes) {
  return namesUnsafeFunction(bytes, !sandbox().confined);
}

ScriptRun::ScriptRun() {
  const Sandbox& box = sandbox();
  std::error_code ignored;
  std::filesystem::remove_all(box.work, ignored);
  std::filesystem::create_directory(box.work);
  check(::chdir(box.work.c_str()) == 0, "cannot enter the work folder");
  engine::steps::setBudget(1, checkRun);
}

ScriptRun::~ScriptRun() {
  engine::steps::clearBudget();
  check(::chdir(sandbox().home.c_str()) == 0, "cannot leave the work folder");
}

rt::Ref<engine::ScriptHostEvents> quietEvents() { return rt::make<Quiet>(); }

void report(jespin::IErrInfo& e) {
  if (!kVerbose || !e.haveErr()) return;
  std::fprintf(stderr, "error %d: %s\n%s\n", e.number(), rt::toUtf8(e.source()).c_str(),
               rt::toUtf8(e.description()).c_str());
}

void report(const rt::RuntimeError& raised) {
  if (kVerbose) std::fprintf(stderr, "raised %d: %s\n", raised.number(), raised.what());
}

}  // namespace fuzz
