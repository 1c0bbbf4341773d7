// The real main window over the core, on the offscreen platform, with
// scripted dialogs, a scripted UI host and the fake Application.
#pragma once

#include <QDir>
#include <QWidget>
#include <memory>
#include <string>

#include "marloxqt/mainwindow.h"
#include "rig.h"

namespace marloxqttest {

// Keeps a picture of `w` in build/test-artifacts.
void keepPicture(QWidget* w, const char* name);
// The same of the whole screen where there is one (under Xvfb), so a box is
// seen over its window.
void keepScreen(QWidget* w, const char* name);

// A scripted host whose yields let the event loop run, as the program's do.
class YieldingHost final : public rt::ScriptedHost {
 public:
  void yield() override;
};

struct QtRig : marloxtest::Rig {
  explicit QtRig(const std::string& ini = {}) : Rig(ini, rt::make<YieldingHost>()) {}
  ~QtRig() {
    window.reset();
  }
  void startWindow() {
    start([this] {
      window = std::make_unique<marloxqt::MainWindow>(*program);
      window->frame().load();
      window->show();
      return &window->frame();
    });
  }
  std::unique_ptr<marloxqt::MainWindow> window;
};

}  // namespace marloxqttest
