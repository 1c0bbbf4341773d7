// The program as a whole: its folder, its profile "Marlox.ini", the one
// script bridge and the link to the main window; start-up, the event
// scripts and the end.  A window layer makes the window and drives the
// message loop; everything else happens here.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "jespin/profile.h"
#include "marlox/ports.h"

namespace marlox {

class MainFrame;
class ScriptBridge;

// What the program uses whether or not its window exists.
struct Services {
  DialogPort& dialogs;
  NetPort& net;
  BrowserPort& browser;
  LauncherPort& launcher;
  ClipboardText& clipboard;
};

class Program {
 public:
  // `folder` is the program folder (its separators may be "\").
  Program(std::u16string_view folder, Services services);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Start-up: the profile on Marlox.ini, curPath, the bridge, the first-run
  // event (only while Main/IsFirstRun is not 0; the key becomes "0" once it
  // succeeded), the run event, then `openWindow`, which makes and shows the
  // main window and returns its frame.  A profile that cannot be read or
  // written (so settings and the first run's end would be lost without a
  // word) shows the error box once.
  void start(const std::function<MainFrame*()>& openWindow);
  // The end, once the window has been closed: the quit event (while the
  // window object still exists), then the bridge, the profile and the
  // window link are let go.  Only the first call does anything.
  void quit();
  bool quitting() const { return quit_; }

  // Runs the script bound to `name` in section Events: true when none is
  // bound or it ran without an error.
  bool runEvent(std::u16string_view name);

  // The program folder, ending in "/".
  const std::u16string& appPath() const { return appPath_; }
  // `path` taken from the program folder.
  std::u16string absPath(std::u16string_view path) const;
  // "1.0.0": the program's version.
  static std::u16string version();

  jespin::IProFile& profile() { return *profile_; }
  ScriptBridge& bridge() { return *bridge_; }
  const Services& services() const { return services_; }

  // The main window's frame; raises error 91 while there is none (before
  // start-up ends and after the end), so a host command that needs the
  // window fails with a recorded error.
  MainFrame& frame();
  bool hasFrame() const { return frame_ != nullptr; }
  // The window layer says the window object is gone.
  void frameGone() { frame_ = nullptr; }

  // Called by the bridge when its outermost script run has returned: a
  // close asked for during the run is carried out now.
  void runsEnded();

 private:
  std::u16string appPath_;
  Services services_;
  rt::Ref<jespin::IProFile> profile_;
  std::unique_ptr<ScriptBridge> bridge_;
  // The error box about the profile, once.
  void checkProfileRead();
  void checkProfileWritten();
  void warnProfile(const std::u16string& text);

  MainFrame* frame_ = nullptr;
  bool quit_ = false;
  bool profileWarned_ = false;
};

}  // namespace marlox
