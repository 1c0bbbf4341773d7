// zubrun: runs a script file on the engine of either edition, or through
// the application interface of either edition (appconsole.h), or writes its
// compiled form (options.cpp has the usage).
//
// FILE is script source, or a compiled script kept in an object-stream file.
// The script's output goes to standard output as UTF-8 and its input comes
// from standard input.  A script error (or a compile error, or a compiled
// file that is cut short or spoilt) is printed on standard error with its
// place, number, source and description, and the exit status is 1, as it
// is when the output cannot be written; a usage or file problem gives 2.
// The script runs on a thread with a stack of its own (ownstack.h).  The
// engine and its libraries are created by name through the registration
// stores, so a plain build of the project is enough.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "appconsole.h"
#include "console.h"
#include "linerunner.h"
#include "options.h"
#include "ownstack.h"
#include "report.h"
#include "rt/activation.h"
#include "rt/error.h"
#include "rt/signals.h"
#include "rt/text.h"
#include "runner.h"
#include "scriptfile.h"

namespace {

int usage(const std::string& problem) {
  std::fprintf(stderr, "zubrun: %s\n%s", problem.c_str(), zubrun::kUsage);
  return 2;
}

template <class I>
rt::Ref<I> createByName(std::u16string_view progId) {
  rt::Ref<I> obj = rt::queryRef<I>(rt::createObject(progId).get());
  if (!obj) rt::raise(rt::err::NoAutomation, progId);
  return obj;
}

// Runs the script with a console advised to `host`, whose include
// directives go to `runner`; `outputErrno` is that of output that could not
// be written.
template <class Host, class R>
zubrun::FileRunner::Status runWithConsole(Host& host, R& runner, const zubrun::Options& o,
                                          std::string& report, int& outputErrno) {
  rt::Ref<zubrun::Console> console =
      rt::make<zubrun::Console>([&runner](const std::u16string& file) { runner.include(file); });
  console->keepCrLf(o.keepCrLf);
  uint32_t cookie = host.advise(console);
  zubrun::FileRunner::Status status = runner.run(o.file, report);
  host.unadvise(cookie);
  outputErrno = console->finish();
  return status;
}

// The end of a run: output that could not be written fails a run that went
// well; the report goes to standard error.
int finish(int status, std::string& report, int outputErrno) {
  if (outputErrno == 0 && std::fflush(stdout) != 0) outputErrno = errno;
  if (outputErrno != 0 && status == zubrun::FileRunner::Ok) {
    const rt::RuntimeError e = zubrun::outputFailure(outputErrno);
    report = zubrun::errorReport(e.number(), e.source(), e.description());
    status = zubrun::FileRunner::ScriptFailed;
  }
  std::fputs(report.c_str(), stderr);
  return status;
}

int runFile(const zubrun::Options& o) {
  std::string report;
  zubrun::FileRunner::Status status;
  int outputErrno = 0;
  if (o.edition == "1" && o.action == zubrun::Options::Run) {
    auto host = createByName<dovrel::IScriptHost>(u"Dovrel.ScriptHost");
    zubrun::LineRunner runner(host);
    if (o.goOn)
      runner.goOn([](const std::string& failure) {
        std::fflush(stdout);
        std::fputs(failure.c_str(), stderr);
      });
    status = runWithConsole(*host, runner, o, report, outputErrno);
    host->freeAll();  // the host and its built-in objects hold each other
  } else {
    auto compiler = createByName<kestrin::IScriptCompile>(u"Kestrin.ScriptCompile");
    auto host = createByName<kestrin::IScriptHost>(u"Kestrin.ScriptHost");
    zubrun::Runner runner(compiler, host);
    if (o.action == zubrun::Options::Compile) status = runner.compile(o.file, o.out, report);
    else status = runWithConsole(*host, runner, o, report, outputErrno);
    host->freeAll();
  }
  return finish(status, report, outputErrno);
}

// zubrun --app.
int runApp(const zubrun::Options& o) {
  std::string report;
  int outputErrno = 0;
  const int status = zubrun::runApplication(o, report, outputErrno);
  return finish(status, report, outputErrno);
}

int reportFailure(const rt::RuntimeError& e) {
  std::fflush(stdout);
  std::fputs(zubrun::errorReport(e.number(), e.source(), e.description()).c_str(), stderr);
  return 1;
}

// Every failure is reported, memory running out as error 7.
int runReporting(const zubrun::Options& o) {
  try {
    return o.app ? runApp(o) : runFile(o);
  } catch (const rt::RuntimeError& e) {
    return reportFailure(e);
  } catch (const std::bad_alloc&) {
    return reportFailure(rt::RuntimeError(rt::err::OutOfMemory));
  }
}

}  // namespace

int main(int argc, char** argv) {
  zubrun::Options o;
  std::string problem;
  if (!zubrun::parseOptions(std::vector<std::string_view>(argv + 1, argv + argc), o, problem))
    return usage(problem);
  if (o.action == zubrun::Options::Help) {
    std::fputs(zubrun::kUsage, stdout);
    return 0;
  }
  if (o.action == zubrun::Options::Version) {
    std::printf("zubrun %s\n", ZUB_VERSION);
    return 0;
  }
  if (!zubrun::codePageKnown("zubrun")) return 2;
  rt::removeTempFilesOnSignal();  // a compiled output or a cache half made
  return zubrun::runOnOwnStack(zubrun::kScriptStack, [&] { return runReporting(o); });
}
