#include "marlox/program.h"

#include <string>

#include "marlox/folderops.h"
#include "marlox/mainframe.h"
#include "marlox/messages.h"
#include "marlox/paths.h"
#include "marlox/scriptbridge.h"
#include "rt/error.h"
#include "rt/text.h"
#include "zub/version.h"

namespace marlox {

Program::Program(std::u16string_view folder, Services services)
    : appPath_(addBackslash(folder)), services_(services) {}

Program::~Program() = default;

void Program::start(const std::function<MainFrame*()>& openWindow) {
  profile_ = rt::queryRef<jespin::IProFile>(rt::createInstance(jespin::IProFile::clsid).get());
  if (!profile_) rt::raise(rt::err::NoAutomation, u"Jespin.ProFile");
  profile_->init(appPath_, u"Marlox.ini");
  profile_->setValue(u"Main", u"curPath", appPath_);
  bridge_ = std::make_unique<ScriptBridge>(*this);
  if (profile_->getInt(u"Main", u"IsFirstRun", 0) != 0 && runEvent(u"FirstRun"))
    profile_->setValue(u"Main", u"IsFirstRun", u"0");
  runEvent(u"Run");
  frame_ = openWindow();
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
