#include "marlox/mainframe.h"

#include <utility>

#include "marlox/program.h"
#include "marlox/scriptbridge.h"
#include "rt/fspath.h"
#include "rt/text.h"

namespace marlox {

void MainFrame::load() {
  tree_.load();
  document_.reset();
}

void MainFrame::fileMenu(int index) {
  switch (index) {
    case 0: document_.cmFileNew(); break;
    case 1: document_.cmFileOpen({}); break;
    case 2: document_.cmOpenUrl({}); break;
    case 3: document_.cmFileSave(); break;
    case 4: document_.cmFileSaveAs(); break;
    default: break;
  }
}

void MainFrame::toolbarButton(std::u16string_view key) {
  struct Button {
    std::u16string_view key;
    void (*press)(MainFrame&);
  };
  static constexpr Button kButtons[] = {
      {u"new", [](MainFrame& f) { f.fileMenu(0); }},
      {u"open", [](MainFrame& f) { f.fileMenu(1); }},
      {u"url", [](MainFrame& f) { f.fileMenu(2); }},
      {u"save", [](MainFrame& f) { f.fileMenu(3); }},
      {u"saveas", [](MainFrame& f) { f.fileMenu(4); }},
      {u"cut", [](MainFrame& f) { f.document_.editCommand(0); }},
      {u"copy", [](MainFrame& f) { f.document_.editCommand(1); }},
      {u"paste", [](MainFrame& f) { f.document_.editCommand(2); }},
      {u"exec", [](MainFrame& f) { f.tree_.execute(); }},
      {u"help", [](MainFrame& f) { f.about(); }},
  };
  for (const Button& b : kButtons)
    if (rt::equalsNoCase(b.key, key)) return b.press(*this);
}

void MainFrame::about() { program_.services().dialogs.aboutBox(); }

std::u16string MainFrame::webSite() {
  std::u16string site = program_.profile().getValue(u"Main", u"WebSite");
  if (!site.empty()) return site;
  return u"file://" + program_.appPath() + u"README.txt";
}

void MainFrame::openWebSite() { program_.services().browser.openUrl(webSite()); }

bool MainFrame::closeRequested() {
  if (program_.quitting()) return true;
  if (program_.bridge().running()) {
    closePending_ = true;
    program_.bridge().stopRuns();
    return false;
  }
  return document_.mayClose();
}

bool MainFrame::takePendingClose() { return std::exchange(closePending_, false); }

}  // namespace marlox
