#include "pageconsole.h"

#include <cstdio>
#include <span>

#include "console.h"
#include "report.h"
#include "rt/dispatch.h"
#include "rt/filenames.h"
#include "rt/text.h"

namespace zubpage {

namespace {

// The bytes of a line as a text file holds them: the system code page and
// CR LF.
class Stdout final : public rt::Automation<Stdout> {
 public:
  static const rt::MemberTable<Stdout>& members() {
    static const auto table = rt::MemberTable<Stdout>(u"Stdout").method(
        u"InputLine", [](Stdout&, std::u16string text) {
          zubrun::writeOutput(rt::toAnsi(text) + "\r\n", stdout);
        });
    return table;
  }
};

// Standard output is flushed first, so that the two keep their order on a
// terminal; output that could not be written fails there, with its cause.
void printLine(std::u16string_view text, const std::string& before = {}) {
  const int outputErrno = zubrun::outputError(stdout);
  std::string line = before + zubrun::shownText(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  if (outputErrno != 0) throw zubrun::outputFailure(outputErrno);
}

}  // namespace

void registerStdout() {
  rt::registerLocalClass(u"Zubpage.Stdout", rt::classIdOf("Zubpage.Stdout"),
                         [] { return rt::Ref<rt::Object>(rt::make<Stdout>()); });
}

void InfoPrinter::showInfo(int32_t infoFlag, const std::u16string& strInfo) {
  switch (infoFlag) {
    case halvorn::QIF_Error:
      printLine(strInfo, placeLine_());
      errorShown_ = true;
      break;
    case halvorn::QIF_UserInfo:
      printLine(strInfo);
      break;
    case halvorn::QIF_PageStart:
      if (verbose_) printLine(u"页面开始：" + rt::fs::shownName(strInfo));
      break;
    case halvorn::QIF_PageEnd:
      if (verbose_) printLine(u"页面结束：" + rt::fs::shownName(strInfo));
      break;
  }
}

}  // namespace zubpage
