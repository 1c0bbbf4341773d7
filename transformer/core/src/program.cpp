#include "marlox/program.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "marlox/docfile.h"
#include "marlox/folderops.h"
#include "marlox/mainframe.h"
#include "marlox/messages.h"
#include "marlox/paths.h"
#include "marlox/scriptbridge.h"
#include "rt/error.h"
#include "rt/fd.h"
#include "rt/fspath.h"
#include "rt/text.h"
#include "zub/version.h"

namespace marlox {

namespace {

// Why the file `path` cannot be read; empty when it can, or is missing.
std::u16string whyUnreadable(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? std::u16string() : systemMessage(errno);
  if (S_ISDIR(st.st_mode)) return systemMessage(EISDIR);
  if (!S_ISREG(st.st_mode)) return std::u16string(msg::kNotRegularFile);
  rt::Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  return fd.get() < 0 ? systemMessage(errno) : std::u16string();
}

}  // namespace

Program::Program(std::u16string_view folder, Services services)
    : appPath_(addBackslash(folder)), services_(services) {}

Program::~Program() = default;

void Program::start(const std::function<MainFrame*()>& openWindow) {
  profile_ = rt::queryRef<jespin::IProFile>(rt::createInstance(jespin::IProFile::clsid).get());
  if (!profile_) rt::raise(rt::err::NoAutomation, u"Jespin.ProFile");
  profile_->init(appPath_, u"Marlox.ini");
  checkProfileRead();
  profile_->setValue(u"Main", u"curPath", appPath_);
  checkProfileWritten();
  bridge_ = std::make_unique<ScriptBridge>(*this);
  if (profile_->getInt(u"Main", u"IsFirstRun", 0) != 0 && runEvent(u"FirstRun")) {
    profile_->setValue(u"Main", u"IsFirstRun", u"0");
    checkProfileWritten();
  }
  runEvent(u"Run");
  frame_ = openWindow();
}

// The profile reads a file it cannot take as missing and records only a
// file over its size limit: the rest is seen here.
void Program::checkProfileRead() {
  jespin::IErrInfo& error = *profile_->error();
  error.clear();
  profile_->getValue(u"Main", u"curPath");
  std::u16string reason =
      error.haveErr() ? error.description() : whyUnreadable(rt::fs::nativePath(profile_->fileName()));
  if (!reason.empty()) warnProfile(msg::profileUnreadable(profile_->fileName(), reason));
}

void Program::checkProfileWritten() {
  jespin::IErrInfo& error = *profile_->error();
  if (error.haveErr()) warnProfile(msg::profileUnwritable(profile_->fileName(), error.description()));
}

void Program::warnProfile(const std::u16string& text) {
  if (profileWarned_) return;
  profileWarned_ = true;
  showErr(text);
}

void Program::quit() {
  if (quit_) return;
  quit_ = true;
  runEvent(u"Quit");
  profile_ = nullptr;
  frame_ = nullptr;
  bridge_.reset();
}

bool Program::runEvent(std::u16string_view name) {
  if (!profile_ || !bridge_) return false;
  // The text as the profile holds it, for the message: a failure to read it
  // leaves it empty.
  std::u16string text;
  try {
    text = profile_->value(std::u16string(name) + u".Events");
    if (text.empty()) return true;
    return bridge_->zubExec(absPath(text));
  } catch (...) {
    showErr(msg::runEventFailed(text));
    return false;
  }
}

std::u16string Program::absPath(std::u16string_view path) const { return marlox::absPath(appPath_, path); }

std::u16string Program::version() {
  return rt::ascii(ZUB_VERSION_TEXT);
}

MainFrame& Program::frame() {
  if (!frame_) rt::raise(rt::err::ObjectNotSet);
  return *frame_;
}

void Program::runsEnded() {
  if (frame_ && frame_->takePendingClose()) frame_->window().requestClose();
}

}  // namespace marlox
