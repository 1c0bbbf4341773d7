// Scripts on the engine: source text compiled and run, and any compiled
// stream run.  Each run has a budget of steps (loops and recursion can be
// endless) and of memory (a loop can double a text each pass), and runs in
// a work folder of its own that starts empty.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/scriptcompile.h"
#include "core/scripthost.h"
#include "core/steps.h"
#include "fileinput.h"
#include "harness.h"
#include "nubrel/filestreams.h"
#include "qelcompile.h"
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

// Output goes nowhere, unless ZUB_FUZZ_VERBOSE is set (to look into an
// input): then to standard error, with the error a run ends with.
const bool kVerbose = std::getenv("ZUB_FUZZ_VERBOSE") != nullptr;

class Quiet final : public kestrin::ScriptHostEvents {
 public:
  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<kestrin::ScriptHostEvents>(this, iid);
  }
  void output(const std::u16string& s) override {
    if (kVerbose) std::fputs(rt::toUtf8(s).c_str(), stderr);
  }
};

void report(jespin::IErrInfo& e) {
  if (!kVerbose || !e.haveErr()) return;
  std::fprintf(stderr, "error %d: %s\n%s\n", e.number(), rt::toUtf8(e.source()).c_str(),
               rt::toUtf8(e.description()).c_str());
}

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

// Runs a compiled stream in a fresh work folder and a fresh host.
void runScript(nubrel::VStream& vs) {
  const Sandbox& box = sandbox();
  std::error_code ignored;
  std::filesystem::remove_all(box.work, ignored);
  std::filesystem::create_directory(box.work);
  check(::chdir(box.work.c_str()) == 0, "cannot enter the work folder");

  engine::steps::setBudget(1, checkRun);
  rt::Ref<engine::ScriptHost> host = engine::ScriptHost::create();
  host->advise(rt::make<Quiet>());
  try {
    host->execStream(vs);
    report(host->error());
  } catch (const rt::RuntimeError& e) {
    // A malformed directive: reported to the caller.
    if (kVerbose) std::fprintf(stderr, "raised %d: %s\n", e.number(), e.what());
  }
  host->freeAll();
  engine::steps::clearBudget();
  check(::chdir(box.home.c_str()) == 0, "cannot leave the work folder");
}

}  // namespace

void run(const uint8_t* data, size_t size) {
  prepare();
  std::u16string text = inputText(asBytes(data, size));
  if (namesUnsafeFunction(std::u16string_view(text), !sandbox().confined)) return;
  auto compiler = rt::make<engine::ScriptCompile>();
  rt::Ref<nubrel::VStream> vs = newByteStream();
  compiler->compile(text, *vs);
  fuzz::rewind(*vs);
  runScript(*vs);
}

void page(const uint8_t* data, size_t size) {
  prepare();
  std::u16string text = inputText(asBytes(data, size));
  if (namesUnsafeFunction(std::u16string_view(text), !sandbox().confined)) return;
  // Made directly: while fuzzing, the page library's classes may be refused
  // to scripts by name.
  auto compiler = rt::make<halvorn::QelCompile>();
  rt::Ref<nubrel::VStream> vs = newByteStream();
  compiler->openMemStream(vs.get());
  compiler->addCode(text);
  compiler->closeStream();
  fuzz::rewind(*vs);
  check(readsBack(*vs), "a compiled page does not read back");
  if (compiler->error().haveErr()) return;  // a page object would not run it
  fuzz::rewind(*vs);
  runScript(*vs);
}

void execStream(const uint8_t* data, size_t size) {
  prepare();
  std::string_view bytes = asBytes(data, size);
  if (namesUnsafeFunction(bytes, !sandbox().confined)) return;
  std::u16string path = writeTempFile("script.bin", bytes);
  auto s = newObject<nubrel::IStreamFile>(u"Nubrel.BinFileStream");
  if (s->openStream(path, nubrel::InStream)) runScript(*s);
}

}  // namespace fuzz
