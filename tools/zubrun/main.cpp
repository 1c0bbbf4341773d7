// zubrun: runs a script file on the second-edition engine.
//
//   zubrun [--edition 1|2] FILE
//
// FILE is script source, or a compiled script kept in an object-stream file.
// The script's output goes to standard output as UTF-8 and its input comes
// from standard input.  A script error (or a compile error, or a compiled
// file that is cut short or spoilt) is printed on standard error with its
// number, source and description, and the exit status is 1, as it is when
// the output cannot be written; a usage or file problem gives 2.  The script
// runs on a thread with a stack of its own (ownstack.h).  The engine and its
// libraries are created by name through the registration stores, so a plain
// build of the project is enough.
#include <cerrno>
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "console.h"
#include "ownstack.h"
#include "report.h"
#include "rt/activation.h"
#include "rt/error.h"
#include "runner.h"

namespace {

constexpr const char* kUsage =
    "usage: zubrun [--edition 1|2] FILE\n"
    "\n"
    "Runs the script FILE (source, or a compiled script in an object-stream\n"
    "file) on the engine of that edition, 2 by default.  Its output goes to\n"
    "standard output, its input comes from standard input; on a script error\n"
    "the error's number, source and description go to standard error and the\n"
    "status is 1.\n";

int usage(const std::string& problem) {
  std::fprintf(stderr, "zubrun: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

template <class I>
rt::Ref<I> createByName(std::u16string_view progId) {
  rt::Ref<I> obj = rt::queryRef<I>(rt::createObject(progId).get());
  if (!obj) rt::raise(rt::err::NoAutomation, progId);
  return obj;
}

int runFile(const std::string& path) {
  auto compiler = createByName<kestrin::IScriptCompile>(u"Kestrin.ScriptCompile");
  auto host = createByName<kestrin::IScriptHost>(u"Kestrin.ScriptHost");
  zubrun::Runner runner(compiler, host);
  uint32_t cookie = host->advise(rt::make<zubrun::Console>(
      [&runner](const std::u16string& file) { runner.include(file); }));
  std::string report;
  zubrun::Runner::Status status = runner.run(path, report);
  host->unadvise(cookie);
  host->freeAll();  // the host and its built-in objects hold each other
  if (std::fflush(stdout) != 0 && status == zubrun::Runner::Ok) {
    const rt::RuntimeError e = zubrun::outputFailure(errno);
    report = zubrun::errorReport(e.number(), e.source(), e.description());
    status = zubrun::Runner::ScriptFailed;
  }
  std::fputs(report.c_str(), stderr);
  return status;
}

int reportFailure(const rt::RuntimeError& e) {
  std::fflush(stdout);
  std::fputs(zubrun::errorReport(e.number(), e.source(), e.description()).c_str(), stderr);
  return 1;
}

// Every failure is reported, memory running out as error 7.
int runReporting(const std::string& path) {
  try {
    return runFile(path);
  } catch (const rt::RuntimeError& e) {
    return reportFailure(e);
  } catch (const std::bad_alloc&) {
    return reportFailure(rt::RuntimeError(rt::err::OutOfMemory));
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  std::string_view edition = "2";
  if (!args.empty() && args[0] == "--edition") {
    if (args.size() < 2) return usage("--edition needs 1 or 2");
    edition = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() != 1 || args[0].starts_with("-")) return usage("one script file expected");
  if (edition == "1") {
    std::fprintf(stderr, "zubrun: the first edition of the engine is not available yet\n");
    return 2;
  }
  if (edition != "2") return usage("unknown edition " + std::string(edition));
  const std::string path(args[0]);
  return zubrun::runOnOwnStack(zubrun::kScriptStack, [&] { return runReporting(path); });
}
