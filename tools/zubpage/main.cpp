// zubpage: runs a script page.
//
//   zubpage [-o OUT] [-I DIR]... [-v] [--] PAGE
//
// The page's output goes to OUT, or to standard output (no -o, or -o -), as
// the CR LF lines a file would hold.  Each -I folder is searched for
// included pages after the page's own folder; -- ends the options.  The
// page's compiled form is kept beside it as "<PAGE>.bin".  Errors the page
// object reports and the page's own information (curPage.Info) go to
// standard error, with -v also the start and end of every run; every error
// starts with the page or include and the line it happened at, as zubrun
// shows them, names shown as wistel shows them.  Names are the bytes given,
// UTF-8 or not.  The status is 1 when the page could not run, an error was
// reported or the page's script failed (its number, source and description
// on standard error), and when the output cannot be written: then OUT and
// every file the page was writing are left as they were.  2 for usage and
// for a code page (ZUB_CODEPAGE) it does not know.  --help prints the
// usage.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "halvorn/spage.h"
#include "console.h"
#include "pageconsole.h"
#include "report.h"
#include "rt/activation.h"
#include "rt/cmdline.h"
#include "rt/error.h"
#include "rt/filenames.h"
#include "rt/signals.h"
#include "rt/text.h"
#include "scriptfile.h"

namespace {

constexpr const char* kUsage =
    "usage: zubpage [-o OUT] [-I DIR]... [-v] [--] PAGE\n"
    "       zubpage --help\n"
    "\n"
    "Runs the script page PAGE into OUT, or to standard output (also for\n"
    "-o -).  Included pages are looked for beside PAGE, then in each DIR in\n"
    "order.  Errors and the page's information go to standard error (-v adds\n"
    "the start and end of every run); the status is 1 when the page fails.\n"
    "-- ends the options: a PAGE after it may start with -.\n";

int usage(const std::string& problem) {
  std::fprintf(stderr, "zubpage: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

struct Options {
  std::string out;
  std::vector<std::string> folders;
  bool verbose = false;
  bool help = false;  // -h, --help
  std::string page;
};

// False (with the problem) for a command line that is not understood.
bool parse(const std::vector<std::string_view>& args, Options& o, std::string& problem) {
  rt::ArgScanner scan;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view a = args[i];
    const rt::ArgScanner::Kind kind = scan.next(a);
    if (kind == rt::ArgScanner::EndOfOptions) continue;
    if (kind == rt::ArgScanner::Operand) {
      if (!o.page.empty()) {
        problem = "unexpected " + std::string(a);
        return false;
      }
      o.page = a;
      continue;
    }
    if (a == "-h" || a == "--help") {
      o.help = true;
      return true;
    }
    if (a == "-o" || a == "-I") {
      if (i + 1 == args.size()) {
        problem = std::string(a) + " needs a value";
        return false;
      }
      std::string value(args[++i]);
      if (a == "-o") o.out = value;
      else o.folders.push_back(value);
    } else if (a == "-v") {
      o.verbose = true;
    } else {
      problem = "unexpected " + std::string(a);
      return false;
    }
  }
  if (o.page.empty()) problem = "no page given";
  return problem.empty();
}

// The page is read through the code page as zubrun reads a script: bytes
// not valid in it are warned about, once.
void warnAboutCodePage(const std::string& page) {
  std::string bytes;
  try {
    zubrun::requireRegularFile(page);  // a pipe could keep it waiting
    if (!zubrun::readFile(page, bytes)) return;
  } catch (const rt::RuntimeError&) {
    return;  // the run says what is wrong; one too large it reads line by line
  }
  zubrun::warnIfNotInCodePage(stderr, "zubpage", page, bytes);
}

// A file as the command line named it (under the current folder, relative
// to it when the page was given so), shown as names are.
std::string shownName(std::u16string_view file, const Options& o) {
  std::u16string name(file);
  if (name.empty()) {
    name = rt::fs::textOfBytes(o.page);
  } else if (!std::filesystem::path(o.page).is_absolute()) {
    const std::u16string here = rt::fs::textOfBytes(std::filesystem::current_path().string() + "/");
    if (name.starts_with(here)) name.erase(0, here.size());
  }
  return rt::toUtf8(rt::fs::shownName(name));
}

// The first line of the report of an error: where it happened.
std::string placeLine(const halvorn::ErrorPlace& at, const Options& o) {
  return zubrun::placeLine(zubrun::Place{shownName(at.file, o), at.line}, at.number, at.description);
}

int runPage(const Options& o) {
  zubpage::registerStdout();
  rt::Ref<halvorn::ISPage> page =
      rt::queryRef<halvorn::ISPage>(rt::createObject(u"Halvorn.SPage").get());
  if (!page) rt::raise(rt::err::NoAutomation, u"Halvorn.SPage");
  for (std::string folder : o.folders) {
    if (!folder.ends_with('/')) folder += '/';
    page->qelSearchPaths()->add(rt::Variant(rt::fs::textOfBytes(folder)));
  }
  halvorn::ISPage& reporter = *page;  // the printer is let go of with the page
  rt::Ref<zubpage::InfoPrinter> info = rt::make<zubpage::InfoPrinter>(
      o.verbose, [&reporter, &o] { return placeLine(reporter.errorPlace(), o); });
  page->advise(info);
  page->setIsShowInfo(true);  // else a page that cannot start would say nothing
  const bool toStdout = o.out.empty() || o.out == rt::kStandardStream;
  // Names as given, bytes that are no UTF-8 text among them.
  std::u16string out = toStdout ? std::u16string(zubpage::kStdoutName) : rt::fs::textOfBytes(o.out);
  std::u16string pagePath = rt::fs::textOfBytes(std::filesystem::absolute(o.page).string());
  warnAboutCodePage(o.page);
  bool ran = page->outPage(out, pagePath);
  const int outputErrno = zubrun::outputError(stdout);
  jespin::IErrInfo& e = page->error();
  if (e.haveErr())
    std::fputs((placeLine(page->errorPlace(), o) + zubrun::errorReport(e.number(), e.source(), e.description())).c_str(),
               stderr);
  else if (outputErrno != 0) throw zubrun::outputFailure(outputErrno);  // reported as any failure
  else if (!page->errString().empty() && !info->errorShown())
    info->showInfo(halvorn::QIF_Error, page->errString());  // the page turned its information off
  return ran && !e.haveErr() && page->errString().empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string problem;
  if (!parse(std::vector<std::string_view>(argv + 1, argv + argc), options, problem))
    return usage(problem);
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!zubrun::codePageKnown("zubpage")) return 2;
  rt::removeTempFilesOnSignal();  // outputs and compiled pages half made
  try {
    return runPage(options);
  } catch (const rt::RuntimeError& e) {
    std::fflush(stdout);
    const halvorn::ErrorPlace at{{}, 0, e.number(), e.description()};
    std::fputs((placeLine(at, options) + zubrun::errorReport(e.number(), e.source(), e.description())).c_str(),
               stderr);
    return 1;
  }
}
