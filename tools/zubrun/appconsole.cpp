#include "appconsole.h"

#include <cstdio>

#include "report.h"
#include "rt/activation.h"
#include "rt/convert.h"
#include "rt/dispatch.h"
#include "rt/error.h"
#include "rt/text.h"

namespace zubrun {

namespace {

const char* callTypeName(int32_t callType) {
  switch (callType) {
    case yarrick::SaMethod:
      return "Method";
    case yarrick::SaGet:
      return "Get";
    case yarrick::SaLet:
      return "Let";
    case yarrick::SaSet:
      return "Set";
    default:
      return "?";
  }
}

std::string quoted(const std::u16string& text) {
  std::string out = "\"";
  for (char c : rt::toUtf8(text)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

std::string argumentText(const rt::Variant& v) {
  if (v.isText()) return quoted(v.text());
  if (v.isEmpty()) return "Empty";
  if (v.isNull()) return "Null";
  if (v.isObject())
    return v.isNothing() ? "Nothing" : "<" + rt::toUtf8(rt::typeNameOfValue(v)) + ">";
  return rt::toUtf8(rt::toText(v));
}

// The answers --answer gives for `name`, in order.
std::vector<std::u16string> answersFor(const Options& o, std::u16string_view name) {
  std::vector<std::u16string> texts;
  for (const auto& [n, text] : o.answers)
    if (rt::equalsNoCase(rt::fromUtf8(n), name)) texts.push_back(rt::fromUtf8(text));
  return texts;
}

}  // namespace

std::string commandLine(std::u16string_view commName, int32_t callType,
                        const std::vector<rt::Variant>& args) {
  std::string line =
      std::string("SptCommand ") + callTypeName(callType) + " " + rt::toUtf8(commName);
  for (size_t i = 0; i < args.size(); ++i) line += (i == 0 ? " " : ", ") + argumentText(args[i]);
  return line;
}

void AppConsole::sptCommand(const std::u16string& commName, int32_t callType,
                            jespin::IVValues& commParam, jespin::IVValues& commReturn) {
  std::vector<rt::Variant> args;
  for (int32_t i = 1; i <= commParam.count(); ++i)
    args.push_back(commParam.item(rt::Variant(i))->value());
  if (o_.commands) {
    std::fflush(stdout);  // what the script wrote before comes before it
    std::fprintf(stderr, "%s\n", commandLine(commName, callType, args).c_str());
  }
  if (callType == yarrick::SaGet || callType == yarrick::SaMethod) {
    const std::vector<std::u16string> texts = answersFor(o_, commName);
    for (const std::u16string& t : texts) commReturn.add(rt::Variant(t));
    if (!texts.empty()) return;
  }
  if (callType != yarrick::SaMethod) return;
  auto is = [&commName](std::u16string_view n) { return rt::equalsNoCase(commName, n); };
  if (is(u"Output")) {
    if (!args.empty()) console_.output(rt::toText(args[0]));
  } else if (is(u"InputLine")) {
    std::u16string line;
    console_.inputLine(line);
    commReturn.add(rt::Variant(line));
  } else if (is(u"InputChar")) {
    int16_t code = 0;
    console_.inputChar(code);
    commReturn.add(rt::Variant(code));
  }
}

int runApplication(const Options& o, std::string& report, int& outputFailed) {
  rt::Ref<yarrick::IApplication> app = rt::queryRef<yarrick::IApplication>(
      rt::createObject(o.edition == "1" ? u"Yarrick.Application" : u"Trevane.Application").get());
  if (!app) rt::raise(rt::err::NoAutomation, u"Application");
  rt::Ref<Console> console = rt::make<Console>([](const std::u16string&) {});
  console->keepCrLf(o.keepCrLf);
  const uint32_t cookie = app->advise(rt::make<AppConsole>(*console, o));
  app->execFile(rt::fromUtf8(o.file));
  app->unadvise(cookie);
  outputFailed = console->finish();
  jespin::IErrInfo& e = app->error();
  if (!e.haveErr()) return 0;
  report = errorReport(e.number(), e.sourceFull(), e.description());
  return 1;
}

}  // namespace zubrun
