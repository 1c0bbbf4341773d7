#include "marlox/scriptbridge.h"

#include <iterator>

#include "marlox/dialogs.h"
#include "marlox/document.h"
#include "marlox/folderops.h"
#include "marlox/mainframe.h"
#include "marlox/messages.h"
#include "marlox/program.h"
#include "marlox/singleproc.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"
#include "rt/uihost.h"

namespace marlox {

namespace {

// One host command at hand: its arguments by position from 1 (a missing
// one reads as ""), and its answer list.
class Command {
 public:
  Command(Program& program, jespin::IVValues& param, jespin::IVValues& ret)
      : program(program), param_(param), ret_(ret) {}
  int32_t count() const { return param_.count(); }
  std::u16string text(int32_t n) { return rt::toText(param_.item(rt::Variant(n))->value()); }
  void answer(rt::Variant v) { ret_.add(std::move(v)); }

  Program& program;

 private:
  jespin::IVValues& param_;
  jespin::IVValues& ret_;
};

// A message box's title: argument 2 unless that is absent or empty.
std::u16string titleOf(Command& c, std::u16string_view defaultTitle) {
  std::u16string title = c.text(2);
  return title.empty() ? std::u16string(defaultTitle) : title;
}

// A message box with an OK button.
void showBox(Command& c, int32_t icon, std::u16string_view defaultTitle) {
  rt::uiHost().messageBox(c.text(1), icon | rt::mb::OkOnly, titleOf(c, defaultTitle));
}

void nothing(Command&) {}
void showInfo(Command& c) { showBox(c, rt::mb::Information, msg::kAppTitle); }
void showWarn(Command& c) { showBox(c, rt::mb::Information, msg::kWarnTitle); }
void showError(Command& c) { showBox(c, rt::mb::Critical, msg::kErrorTitle); }

void showYesNo(Command& c) {
  const int32_t style = rt::mb::Question | rt::mb::YesNo;
  c.answer(rt::Variant(rt::uiHost().messageBox(c.text(1), style, titleOf(c, msg::kAppTitle))));
}

void showInput(Command& c) { c.answer(rt::Variant(rt::uiHost().inputBox(c.text(1), c.text(2), c.text(3)))); }

// Three or more arguments show no dialog; the answer is always one text.
template <std::u16string (*Show)(DialogPort&, std::u16string_view, std::u16string_view)>
void fileDialog(Command& c) {
  std::u16string chosen;
  if (c.count() < 3) chosen = Show(c.program.services().dialogs, c.text(1), c.text(2));
  c.answer(rt::Variant(chosen));
}

void absPathCmd(Command& c) {
  if (c.count() >= 1) c.answer(rt::Variant(c.program.absPath(c.text(1))));
}
void dirCopyCmd(Command& c) {
  if (c.count() >= 2) c.answer(rt::Variant(dirCopy(c.text(1), c.text(2))));
}
void removeDirCmd(Command& c) {
  if (c.count() >= 1) c.answer(rt::Variant(removeDir(c.text(1))));
}
// A missing argument of MDir or ExecCmd ends the command quietly, with no
// answer, as any failing method does.
void mDirCmd(Command& c) {
  if (c.count() >= 1) c.answer(rt::Variant(makePath(c.text(1))));
}

void execCmd(Command& c) {
  if (c.count() < 1) return;
  std::u16string line = c.text(1);
  SingleProc proc;
  ScriptBridge& bridge = c.program.bridge();
  proc.endWhen([&bridge] { return bridge.stopping(); });
  if (!proc.exceProc(line, 1)) showErr(msg::execCmdFailed(line));
}

Document& document(Command& c) { return c.program.frame().document(); }
void fileOpen(Command& c) { document(c).cmFileOpen(c.text(1)); }
void fileSave(Command& c) { document(c).cmFileSave(); }
void fileSaveAs(Command& c) { document(c).cmFileSaveAs(); }
void fileNew(Command& c) { document(c).cmFileNew(); }

struct Method {
  std::u16string_view name;
  bool needsWindow;
  void (*run)(Command&);
};

constexpr Method kMethods[] = {
    {u"Output", false, &nothing},
    {u"ExecCmd", false, &execCmd},
    {u"ShowInfo", false, &showInfo},
    {u"Info", false, &showInfo},
    {u"ShowWarn", false, &showWarn},
    {u"ShowError", false, &showError},
    {u"ShowDebug", false, &nothing},
    {u"ShowYesNo", false, &showYesNo},
    {u"ShowInput", false, &showInput},
    {u"GetOpenFileName", false, &fileDialog<&showOpenDialog>},
    {u"GetSaveFileName", false, &fileDialog<&showSaveDialog>},
    {u"AbsPath", false, &absPathCmd},
    {u"DirCopy", false, &dirCopyCmd},
    {u"RemoveDir", false, &removeDirCmd},
    {u"MDir", false, &mDirCmd},
    {u"FileOpen", true, &fileOpen},
    {u"FileSave", true, &fileSave},
    {u"FileSaveAs", true, &fileSaveAs},
    {u"FileNew", true, &fileNew},
};

void callMethod(const std::u16string& name, Command& c) {
  const Method* m = std::begin(kMethods);
  while (m != std::end(kMethods) && !rt::equalsNoCase(m->name, name)) ++m;
  const bool known = m != std::end(kMethods);
  // A script told to stop gets no more boxes, dialogs or commands.
  if (c.program.bridge().stopping()) return;
  // Without the window the command cannot be answered at all: that is
  // raised, so that the run records it.
  if (known && m->needsWindow) c.program.frame();
  try {
    if (known)
      m->run(c);
    else
      rt::uiHost().messageBox(msg::unsupportedMethod(name), rt::mb::Critical | rt::mb::OkOnly, msg::appTitle());
  } catch (...) {
    // A method that fails ends quietly; the answers given so far stay.
  }
}

rt::Variant readProperty(const std::u16string& name, Program& program) {
  if (rt::equalsNoCase(name, u"gSysVer") || rt::equalsNoCase(name, u"SysVer"))
    return rt::Variant(msg::join({msg::kSysVerPrefix, Program::version()}));
  if (rt::equalsNoCase(name, u"gSysPath")) return rt::Variant(program.appPath());
  if (rt::equalsNoCase(name, u"gSysPro")) return rt::Variant(static_cast<rt::Object*>(&program.profile()));
  if (rt::equalsNoCase(name, u"curText")) return rt::Variant(program.frame().document().scriptSelection());
  if (rt::equalsNoCase(name, u"curTextAll")) return rt::Variant(program.frame().document().scriptText());
  if (rt::equalsNoCase(name, u"curFileName")) return rt::Variant(program.frame().document().curFileName());
  return rt::Variant(std::u16string());
}

void assignProperty(const std::u16string& name, Command& c) {
  if (rt::equalsNoCase(name, u"curText"))
    document(c).setScriptSelection(c.text(1));
  else if (rt::equalsNoCase(name, u"curTextAll"))
    document(c).setScriptText(c.text(1));
}

}  // namespace

class ScriptBridge::Sink final : public yarrick::ApplicationEvents {
 public:
  explicit Sink(ScriptBridge* bridge) : bridge_(bridge) {}
  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<yarrick::ApplicationEvents>(this, iid);
  }
  void sptCommand(const std::u16string& commName, int32_t callType, jespin::IVValues& commParam,
                  jespin::IVValues& commReturn) override {
    bridge_->sptCommand(commName, callType, commParam, commReturn);
  }

 private:
  ScriptBridge* bridge_;
};

// The span of one run: the sink is advised, the run is known to the stop, and when the
// outermost run has returned the program hears of it.
class ScriptBridge::RunScope {
 public:
  RunScope(ScriptBridge& bridge, yarrick::IApplication& app)
      : bridge_(bridge), app_(app), cookie_(app.advise(rt::make<Sink>(&bridge))) {
    bridge_.stop_.begin(app);
  }
  ~RunScope() {
    app_.unadvise(cookie_);
    bridge_.stop_.end();
    if (!bridge_.stop_.active()) {
      try {
        bridge_.program_.runsEnded();
      } catch (...) {
      }
    }
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  ScriptBridge& bridge_;
  yarrick::IApplication& app_;
  uint32_t cookie_;
};

bool ScriptBridge::zubExec(std::u16string_view zubPath) {
  rt::Ref<yarrick::IApplication> app =
      rt::queryRef<yarrick::IApplication>(rt::createInstance(yarrick::IApplication::firstEdition).get());
  if (!app) rt::raise(rt::err::NoAutomation, u"Yarrick.Application");
  latest_ = app;
  RunScope scope(*this, *app);
  app->execFile(zubPath);
  rt::uiHost().yield();
  jespin::IErrInfo& error = app->error();
  if (!error.haveErr()) return true;
  rt::uiHost().messageBox(msg::scriptFailed(error.description(), error.sourceFull()),
                          rt::mb::Critical | rt::mb::OkOnly, msg::appTitle());
  return false;
}

void ScriptBridge::sptCommand(const std::u16string& commName, int32_t callType, jespin::IVValues& commParam,
                              jespin::IVValues& commReturn) {
  Command c(program_, commParam, commReturn);
  switch (callType) {
    case yarrick::SaMethod:
      callMethod(commName, c);
      break;
    case yarrick::SaGet:
      c.answer(readProperty(commName, program_));
      break;
    case yarrick::SaLet:
      assignProperty(commName, c);
      break;
    default:  // SaSet is not answered
      break;
  }
}

}  // namespace marlox
