// What zubpage answers while a page runs: the output object whose InputLine
// writes each line to standard output (raising, as zubrun's output does,
// when it cannot), and the page's information, printed on standard error.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "halvorn/spage.h"

namespace zubpage {

// The output name of standard output.  Its class, "Zubpage.Stdout", exists
// in this process only: registerStdout makes it.
constexpr std::u16string_view kStdoutName = u"object:Zubpage.Stdout";
void registerStdout();

class InfoPrinter final : public halvorn::PageEvents {
 public:
  // `placeLine` gives the line that starts the report of the error being
  // reported: where it happened.
  InfoPrinter(bool verbose, std::function<std::string()> placeLine)
      : verbose_(verbose), placeLine_(std::move(placeLine)) {}

  // Errors and the page's own texts; the start and end of each run when
  // verbose, the output named as names are shown.
  void showInfo(int32_t infoFlag, const std::u16string& strInfo) override;
  // Whether an error was printed: a page may turn its information off.
  bool errorShown() const { return errorShown_; }

 private:
  bool verbose_;
  bool errorShown_ = false;
  std::function<std::string()> placeLine_;
};

}  // namespace zubpage
