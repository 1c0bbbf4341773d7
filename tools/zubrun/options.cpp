#include "options.h"

#include "rt/cmdline.h"
#include "rt/text.h"

namespace zubrun {

namespace {

// The commands the runner answers itself: an answer given for one of them
// would swallow the script's output or input.
bool runnersOwn(std::string_view name) {
  const std::u16string n = rt::fromUtf8(name);
  for (std::u16string_view own : {u"Output", u"InputLine", u"InputChar"})
    if (rt::equalsNoCase(n, own)) return true;
  return false;
}

}  // namespace

const char* const kUsage =
    "usage: zubrun [--edition 1|2] [--go-on] [--crlf] FILE\n"
    "       zubrun --app [--edition 1|2] [--answer NAME=TEXT]... [--commands] FILE\n"
    "       zubrun --compile FILE -o OUT\n"
    "       zubrun --help | --version\n"
    "\n"
    "Runs the script FILE (source, or a compiled script in an object-stream\n"
    "file; - reads it from standard input) on the engine of that edition, 2\n"
    "by default.  A first line that starts with #! is ignored, so a script\n"
    "can be made executable.  The script's output goes to standard output,\n"
    "each CR LF it writes as LF (--crlf writes the bytes as they are); its\n"
    "input comes from standard input, GetChar from a terminal without\n"
    "waiting for Enter.  On a script error the place, number, source and\n"
    "description of the error go to standard error and the status is 1; a\n"
    "problem with the command or a file gives 2.\n"
    "\n"
    "Edition 1 runs each line as it is read; a failing line ends the run\n"
    "unless --go-on, which reports it and goes on with the next line (the\n"
    "status is then 1 if any line failed).\n"
    "\n"
    "--app runs FILE through the application interface of that edition, as\n"
    "a program that embeds it would (a second-edition run compiles FILE into\n"
    "FILE.bin beside it first).  The script's Application.NAME becomes a host\n"
    "command: Output goes to standard output, InputLine and InputChar read\n"
    "standard input (those three cannot be answered); a command named by\n"
    "--answer NAME=TEXT is answered with TEXT when it is read or called (given\n"
    "again for one NAME, it adds answers, in order), and any other is left\n"
    "unanswered.  --commands writes\n"
    "each command on standard error before it is answered.  The\n"
    "Application's error, if any, is printed at the end (status 1).\n"
    "\n"
    "--compile writes the compiled form of the source FILE to the\n"
    "object-stream file OUT (- writes it to standard output), which zubrun\n"
    "runs as it runs source.\n"
    "\n"
    "-- ends the options: a FILE after it may start with -.\n"
    "\n"
    "Environment: ZUB_CODEPAGE (UTF-8 or CP936) is the code page of source\n"
    "files; ZUB_REGISTRY adds registration stores.\n";

bool parseOptions(const std::vector<std::string_view>& args, Options& o, std::string& problem) {
  bool compile = false;
  bool haveOut = false;
  rt::ArgScanner scan;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    const rt::ArgScanner::Kind kind = scan.next(a);
    if (kind == rt::ArgScanner::EndOfOptions) continue;
    if (kind == rt::ArgScanner::Operand) {
      if (!o.file.empty()) {
        problem = "one script file expected";
        return false;
      }
      o.file = a;
      continue;
    }
    auto value = [&](std::string_view what, std::string& into) {
      if (i + 1 >= args.size()) {
        problem = std::string(a) + " needs " + std::string(what);
        return false;
      }
      into = args[++i];
      return true;
    };
    if (a == "-h" || a == "--help") {
      o.action = Options::Help;
      return true;
    }
    if (a == "--version") {
      o.action = Options::Version;
      return true;
    }
    if (a == "--edition") {
      if (!value("1 or 2", o.edition)) return false;
    } else if (a == "--go-on") {
      o.goOn = true;
    } else if (a == "--app") {
      o.app = true;
    } else if (a == "--commands") {
      o.commands = true;
    } else if (a == "--answer") {
      std::string answer;
      if (!value("NAME=TEXT", answer)) return false;
      const size_t eq = answer.find('=');
      if (eq == 0 || eq == std::string::npos) {
        problem = "--answer needs NAME=TEXT, not " + answer;
        return false;
      }
      if (runnersOwn(std::string_view(answer).substr(0, eq))) {
        problem = "--answer cannot answer " + answer.substr(0, eq) +
                  ": Output, InputLine and InputChar are the runner's own";
        return false;
      }
      o.answers.emplace_back(answer.substr(0, eq), answer.substr(eq + 1));
    } else if (a == "--crlf") {
      o.keepCrLf = true;
    } else if (a == "--compile") {
      compile = true;
    } else if (a == "-o") {
      if (!value("a file", o.out)) return false;
      haveOut = true;
    } else {
      problem = "unknown option " + std::string(a);
      return false;
    }
  }
  if (o.file.empty()) {
    problem = "one script file expected";
    return false;
  }
  if (o.edition != "1" && o.edition != "2") {
    problem = "unknown edition " + o.edition;
    return false;
  }
  if (o.goOn && o.edition != "1") {
    problem = "--go-on goes with --edition 1";
    return false;
  }
  if (compile != haveOut) {
    problem = compile ? "--compile needs -o OUT" : "-o goes with --compile";
    return false;
  }
  if (!o.app && (o.commands || !o.answers.empty())) {
    problem = std::string(o.commands ? "--commands" : "--answer") + " goes with --app";
    return false;
  }
  if (o.app && (compile || o.goOn)) {
    problem = std::string("--app does not go with ") + (compile ? "--compile" : "--go-on");
    return false;
  }
  if (compile) o.action = Options::Compile;
  return true;
}

}  // namespace zubrun
