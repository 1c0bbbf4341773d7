// The program with every port faked, on a temporary program folder: a
// scripted UI host, the fake Application (unless a test asks for the real
// one), and helpers for files.
#pragma once

#include <sys/resource.h>

#include <functional>
#include <memory>
#include <string>

#include "fakeapp.h"
#include "fakes.h"
#include "marlox/mainframe.h"
#include "marlox/program.h"
#include "rt/testhost.h"

namespace marloxtest {

// A temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // The folder with "/" and `rel` after it, as text.
  std::u16string name(const std::string& rel = {}) const;
  void write(const std::string& rel, const std::string& bytes) const;
  std::string read(const std::string& rel) const;
  bool exists(const std::string& rel) const;
  static std::string readFile(const std::string& path);

 private:
  std::string path_;
};

// While it lives, no file grows past `bytes`: a write beyond fails as on a
// full disk (EFBIG), also for root.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit before_{};
  void (*handler_)(int);
};

// Runs `command` through the shell; its exit status.
int shell(const std::string& command);
// Runs `command` through the shell; what it wrote on standard output.
std::string capture(const std::string& command);
// Whether the process whose id `pid` names has ended, waiting a few
// seconds for it at most.  One that has ended but is not reaped yet (left
// to a parent that may never reap it) counts as ended.
bool processEnded(const std::string& pid);

class Rig {
 public:
  // The program folder holds `ini` as Marlox.ini; `host` answers the
  // boxes (a plain scripted host when none is given).
  explicit Rig(const std::string& ini = {}, rt::Ref<rt::ScriptedHost> host = nullptr);
  ~Rig();

  TempDir home;
  FakeEditor editor;
  FakeWindow window;
  FakeTree tree;
  ScriptedDialogs dialogs;
  ScriptedNet net;
  ScriptedBrowser browser;
  ScriptedLauncher launcher;
  FakeClipboard clipboard;
  rt::Ref<rt::ScriptedHost> ui;
  std::unique_ptr<FakeApplications> apps = std::make_unique<FakeApplications>();
  std::unique_ptr<marlox::Program> program;
  std::unique_ptr<marlox::MainFrame> frame;
  int windowsOpened = 0;

  // Start-up, the window made and loaded as the window layer does it.
  void start();
  // Start-up with a window of the caller's.
  void start(const std::function<marlox::MainFrame*()>& openWindow);
  // The close box: the frame asked, then the program's end when it may.
  bool close();
  marlox::Document& doc() { return frame->document(); }
  // The folder as the program names it (ending in "/").
  const std::u16string& appPath() const { return program->appPath(); }
  // Every fake and the UI host were asked exactly what they expected.
  void checkAll();

 private:
  rt::ScopedUiHost installed_;
};

}  // namespace marloxtest
