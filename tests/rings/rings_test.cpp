// The ring finder lets go of nothing a script can still reach: each
// generated ring script (ringscripts.h) prints the same, on each edition,
// with looks for rings at every chance as with looks only when its host
// lets go of everything; and, as every run ends with the host's FreeAll,
// the leak checker of the sanitizer build sees any ring left behind.
//
// A failing script is named by its seed, and written where the failure
// says.  ZUB_RING_SEED=<seed> runs that one alone, ZUB_RING_SEED=<a>-<b>
// the seeds a to b; ZUB_RING_SCRIPT=<file> runs that file once instead
// (one being cut down to what fails).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "dovrel/scripthost.h"
#include "kestrin/scriptcompile.h"
#include "kestrin/scripthost.h"
#include "nubrel/memstream.h"
#include "rt/activation.h"
#include "rt/rings.h"
#include "rt/strings.h"
#include "rt/text.h"
#include "ringscripts.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define RINGS_LEAK_CHECK 1
#endif

namespace {

using ringscripts::Edition;
using Pace = rt::Rings::Pace;

// Several hundred scripts; fewer where the sanitizers slow each run down,
// and look for what was left behind after every few (a look costs as much
// as ten scripts).
#ifdef RINGS_LEAK_CHECK
constexpr uint64_t kScripts = 150;
#else
constexpr uint64_t kScripts = 400;
#endif
constexpr uint64_t kLeakCheckEvery = 10;

struct Ran {
  std::string output;
  std::string failure;  // empty when the script ran to its end

  friend bool operator==(const Ran&, const Ran&) = default;
};

class Output final : public engine::ScriptHostEvents {
 public:
  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<engine::ScriptHostEvents>(this, iid);
  }
  void output(const std::u16string& s) override { text += s; }
  std::u16string text;
};

template <class I>
rt::Ref<I> created() {
  rt::Ref<I> obj = rt::queryRef<I>(rt::createInstance(I::clsid).get());
  if (!obj) throw std::runtime_error("cannot create a class the test needs");
  return obj;
}

std::string failureIn(jespin::IErrInfo& e) {
  if (!e.haveErr()) return {};
  return std::to_string(e.number()) + " " + rt::toUtf8(e.description());
}

// The second edition compiles the script and runs it.
Ran runOn(kestrin::IScriptHost& host, const std::u16string& text) {
  rt::Ref<kestrin::IScriptCompile> compiler = created<kestrin::IScriptCompile>();
  rt::Ref<nubrel::IMemStream> stream = created<nubrel::IMemStream>();
  compiler->compile(text, *stream);
  if (compiler->error().haveErr()) return Ran{{}, "compile: " + failureIn(compiler->error())};
  stream->setDir(nubrel::InStream);
  host.execStream(*stream);
  return Ran{{}, failureIn(host.error())};
}

// The first edition takes it line by line, as its host's Execute does.
Ran runOn(dovrel::IScriptHost& host, const std::u16string& text) {
  for (std::u16string_view line : rt::splitLines(text)) {
    host.execLine(line);
    if (host.error().haveErr()) return Ran{{}, failureIn(host.error())};
  }
  host.execEnd();
  return Ran{{}, failureIn(host.error())};
}

// The pace of looks for one run; the usual one after it.
struct PaceFor {
  explicit PaceFor(Pace p) { rt::Rings::setPace(p); }
  ~PaceFor() { rt::Rings::setPace(Pace::Spread); }
};

template <class Host>
Ran runWith(const std::string& script, Pace pace) {
  PaceFor paced(pace);
  rt::Ref<Host> host = created<Host>();
  rt::Ref<Output> out = rt::make<Output>();
  host->advise(out);
  Ran run = runOn(*host, rt::fromUtf8(script));
  host->freeAll();  // looks for rings whatever the pace
  run.output = rt::toUtf8(out->text);
  return run;
}

Ran run(Edition edition, const std::string& script, Pace pace) {
  return edition == Edition::First ? runWith<dovrel::IScriptHost>(script, pace)
                                   : runWith<kestrin::IScriptHost>(script, pace);
}

// Where a failing script is left for whoever replays it.
std::string keep(const std::string& script, uint64_t seed, Edition edition) {
  const std::string path = testing::TempDir() + "ring-" + std::to_string(seed) +
                           (edition == Edition::First ? ".e1" : ".e2") + ".zub";
  std::ofstream(path, std::ios::binary) << script;
  return path;
}

std::string scriptFor(uint64_t seed, Edition edition) {
  const char* file = std::getenv("ZUB_RING_SCRIPT");
  if (!file) return ringscripts::script(seed, edition);
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Whether values were left behind (reported on standard error).  What one
// look reports stays lost, and every later look reports it again.
bool leftValues() {
#ifdef RINGS_LEAK_CHECK
  return __lsan_do_recoverable_leak_check() != 0;
#else
  return false;
#endif
}

class RingScripts : public testing::TestWithParam<Edition> {};

TEST_P(RingScripts, PrintTheSameWithLooksAtEveryChanceAsWithout) {
  uint64_t first = 1, count = kScripts;
  if (const char* seeds = std::getenv("ZUB_RING_SEED")) {
    char* end = nullptr;
    first = std::strtoull(seeds, &end, 10);
    count = *end == '-' ? std::strtoull(end + 1, nullptr, 10) + 1 - first : 1;
  }
  if (std::getenv("ZUB_RING_SCRIPT")) count = 1;
  uint64_t unchecked = first;  // the first seed since the last look for values left behind
  for (uint64_t seed = first; seed < first + count; ++seed) {
    const std::string script = scriptFor(seed, GetParam());
    const Ran without = run(GetParam(), script, Pace::OnlyWhenAsked);
    const Ran with = run(GetParam(), script, Pace::EveryChance);
    if (!without.failure.empty() || with != without)
      ADD_FAILURE() << "seed " << seed << ", written to " << keep(script, seed, GetParam())
                    << "\nwithout looks: " << without.failure << "\n" << without.output
                    << "\nwith looks at every chance: " << with.failure << "\n" << with.output;
    if ((seed + 1 - first) % kLeakCheckEvery != 0 && seed + 1 != first + count) continue;
    if (leftValues()) {
      ADD_FAILURE() << "values left behind (reported above) by one of the seeds " << unchecked
                    << " to " << seed << ": run each alone with ZUB_RING_SEED=<seed>";
      return;
    }
    unchecked = seed + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Editions, RingScripts, testing::Values(Edition::First, Edition::Second),
                         [](const testing::TestParamInfo<Edition>& i) {
                           return i.param == Edition::First ? "First" : "Second";
                         });

}  // namespace
