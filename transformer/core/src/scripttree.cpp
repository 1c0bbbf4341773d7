#include "marlox/scripttree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "jespin/textfile.h"
#include "marlox/folderops.h"
#include "marlox/messages.h"
#include "marlox/paths.h"
#include "marlox/program.h"
#include "marlox/scriptbridge.h"
#include "rt/copyfile.h"
#include "rt/dirlist.h"
#include "rt/error.h"
#include "rt/fd.h"
#include "rt/fspath.h"
#include "rt/shell.h"
#include "rt/strings.h"
#include "rt/text.h"
#include "rt/uihost.h"

namespace marlox {

namespace {

constexpr std::u16string_view kRoot = u"root", kDir = u"dir", kZub = u"zub";
constexpr int kMostRoots = 10;


bool isScriptName(std::u16string_view name) {
  return name.size() >= 4 && rt::equalsNoCase(name.substr(name.size() - 4), u".zub");
}

// A name the user typed for a new script or folder names one entry of the
// selected folder, nothing above or beside it.
bool isPlainName(std::u16string_view name) {
  return name != u"." && name != u".." && name.find_first_of(u"/\\") == std::u16string_view::npos &&
         name.find(u'\0') == std::u16string_view::npos;
}

void beep() { rt::uiHost().beep(); }

}  // namespace

void ScriptTree::load() {
  view_.clear();
  nodes_.clear();
  roots_.clear();
  for (int n = 1; n <= kMostRoots; ++n) {
    std::u16string rest = program_.profile().value(rt::ascii(std::to_string(n)) + u".zubDirList");
    if (rest.empty()) break;
    std::u16string folder = rt::splitHead(rest, u"|");
    addRoot(folder, rest);
  }
}

void ScriptTree::addRoot(std::u16string_view folder, std::u16string_view title) {
  std::u16string f = withSlashes(folder);
  if (!f.empty() && f.back() == u'/') f.pop_back();
  // An empty folder part would scan from the root of the file system.
  if (f.empty()) return;
  std::u16string text(title);
  if (text.empty()) {
    size_t cut = f.rfind(u'/');
    text = cut == std::u16string::npos ? f : f.substr(cut + 1);
  }
  std::u16string key = f + u"/";
  if (nodes_.count(key)) return;
  add({}, TreeNode{std::u16string(kRoot), key, text, u"tools", {}});
  scan(key);
  view_.expand(key);
}

void ScriptTree::scan(const std::u16string& path) {
  try {
    rt::Fd fd(::open(rt::fs::nativePath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) return;
    std::vector<std::u16string> folders, scripts;
    for (const rt::FolderEntry& e : rt::listFolder(fd.get())) {
      if (e.name.starts_with(u".")) continue;
      struct stat st {};
      if (::fstatat(fd.get(), e.native.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      if (S_ISDIR(st.st_mode)) {
        folders.push_back(e.name);
        continue;
      }
      // A link to a script is a script; a link to a folder is not followed.
      if (S_ISLNK(st.st_mode) && ::fstatat(fd.get(), e.native.c_str(), &st, 0) != 0) continue;
      if (S_ISREG(st.st_mode) && isScriptName(e.name)) scripts.push_back(e.name);
    }
    for (const std::u16string& name : folders) {
      std::u16string key = path + name + u"/";
      add(path, TreeNode{std::u16string(kDir), key, name, u"closed", u"opened"});
      scan(key);
    }
    for (const std::u16string& name : scripts)
      add(path, TreeNode{std::u16string(kZub), path + name, name.substr(0, name.size() - 4), u"exec", {}});
  } catch (...) {
    // The nodes added so far stay; the rest of this folder is skipped.
  }
}

void ScriptTree::add(const std::u16string& parent, TreeNode node) {
  std::u16string key = node.key;
  if (nodes_.count(key)) rt::raise(rt::err::KeyExists);
  (parent.empty() ? roots_ : nodes_.at(parent).children).push_back(key);
  view_.add(parent, node);
  nodes_.emplace(key, Entry{std::move(node), parent, {}});
}

void ScriptTree::remove(const std::u16string& key) {
  auto it = nodes_.find(key);
  if (it == nodes_.end()) return;
  for (const std::u16string& child : std::vector<std::u16string>(it->second.children)) remove(child);
  std::vector<std::u16string>& siblings = it->second.parent.empty() ? roots_ : nodes_.at(it->second.parent).children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), key), siblings.end());
  nodes_.erase(it);
  view_.remove(key);
}

ScriptTree::Kind ScriptTree::kindOf(std::u16string_view key) const {
  const TreeNode* n = node(key);
  if (!n) return Kind::None;
  if (rt::equalsNoCase(n->tag, kZub)) return Kind::Zub;
  if (rt::equalsNoCase(n->tag, kDir)) return Kind::Dir;
  if (rt::equalsNoCase(n->tag, kRoot)) return Kind::Root;
  return Kind::None;
}

const TreeNode* ScriptTree::node(std::u16string_view key) const {
  auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : &it->second.shown;
}

std::vector<std::u16string> ScriptTree::children(std::u16string_view key) const {
  if (key.empty()) return roots_;
  auto it = nodes_.find(key);
  return it == nodes_.end() ? std::vector<std::u16string>{} : it->second.children;
}

std::u16string ScriptTree::description(std::u16string_view path) {
  std::u16string text;
  try {
    auto file = rt::queryRef<jespin::ITextFile>(rt::createInstance(jespin::ITextFile::clsid).get());
    if (!file || !file->openRead(path)) return text;
    bool inside = false;
    while (!file->isEOF()) {
      std::u16string line = file->line();
      if (!inside) {
        inside = line.starts_with(u"/*");
        continue;
      }
      if (line.ends_with(u"*/")) break;
      text += line;
    }
  } catch (...) {
    // What was read before the failure stands.
  }
  text.erase(std::remove(text.begin(), text.end(), u'\t'), text.end());
  return text;
}

void ScriptTree::showStatus(std::u16string_view text) { window_.setStatus(std::u16string(text)); }

std::u16string ScriptTree::selected() {
  std::u16string key = view_.selectedKey();
  return nodes_.count(key) ? key : std::u16string();
}

void ScriptTree::nodeClick(std::u16string_view key) {
  switch (kindOf(key)) {
    case Kind::Zub:
      showStatus(description(key));
      break;
    case Kind::None:
      break;
    default:
      showStatus(key);
      break;
  }
}

void ScriptTree::execute() {
  std::u16string key = selected();
  if (kindOf(key) != Kind::Zub) return;
  try {
    program_.bridge().zubExec(key);
  } catch (const rt::RuntimeError& e) {
    showErr(e.description());
  }
}

ScriptTree::PopupState ScriptTree::popupState() {
  std::u16string key = selected();
  if (key.empty()) return {};
  const bool script = kindOf(key) == Kind::Zub;
  return PopupState{true, script, !script, script, script};
}

void ScriptTree::popupCommand(int index) {
  try {
    switch (index) {
      case 0: execute(); break;
      case 2: newScript(); break;
      case 3: editScript(); break;
      case 4: deleteScript(); break;
      case 6: newScriptFolder(); break;
      default: break;
    }
  } catch (...) {
    // A failing command ends where it failed, without a message.
  }
}

std::u16string ScriptTree::askName(std::u16string_view prompt, std::u16string_view defaultText) {
  std::u16string name = rt::uiHost().inputBox(std::u16string(prompt), msg::appTitle(), std::u16string(defaultText));
  return isPlainName(name) ? name : std::u16string();
}

std::u16string ScriptTree::selectedFolder() {
  std::u16string key = selected();
  if (key.empty()) {
    beep();
    return key;
  }
  if (kindOf(key) != Kind::Zub) return key;
  showStatus(msg::kCannotCreateHere);
  beep();
  return {};
}

void ScriptTree::newScript() {
  std::u16string key = selectedFolder();
  if (key.empty()) return;
  std::u16string name = askName(msg::kNewScriptPrompt, msg::kNewScriptDefault);
  if (name.empty()) return;
  std::u16string path = key + name + u".zub";
  struct stat st {};
  if (::stat(rt::fs::nativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    rt::uiHost().messageBox(std::u16string(msg::kScriptExists), rt::mb::OkOnly, msg::appTitle());
    return;
  }
  rt::fs::copyFile(program_.appPath() + u"Model.zub", path);
  add(key, TreeNode{std::u16string(kZub), path, name, u"exec", {}});
  view_.select(path);
  rt::uiHost().yield();
  editScript();
}

void ScriptTree::editScript() {
  std::u16string key = selected();
  if (key.empty()) return beep();
  if (kindOf(key) == Kind::Zub) return editInEditor(key);
  showStatus(msg::kCannotEdit);
  beep();
}

void ScriptTree::editInEditor(const std::u16string& path) {
  std::string file = rt::fs::nativePath(path);
  std::u16string command = program_.profile().getValue(u"Main", u"Editor");
  std::vector<std::string> argv;
  if (command.empty()) {
    argv = {"xdg-open", file};
  } else {
    // "%1" stands for the file, as one argument; without it the file comes last.
    argv = rt::splitCommandLine(command);
    bool placed = false;
    for (size_t i = 1; i < argv.size(); ++i) {
      for (size_t at = argv[i].find("%1"); at != std::string::npos; at = argv[i].find("%1", at + file.size())) {
        argv[i].replace(at, 2, file);
        placed = true;
      }
    }
    if (!placed) argv.push_back(file);
  }
  program_.services().launcher.startDetached(argv);
}

void ScriptTree::deleteScript() {
  std::u16string key = selected();
  if (key.empty() || kindOf(key) != Kind::Zub) return beep();
  if (rt::uiHost().messageBox(msg::confirmDelete(key), rt::mb::Question | rt::mb::YesNo, msg::appTitle()) != rt::mb::Yes)
    return;
  if (::unlink(rt::fs::nativePath(key).c_str()) != 0) return;
  remove(key);
}

void ScriptTree::newScriptFolder() {
  std::u16string key = selectedFolder();
  if (key.empty()) return;
  std::u16string name = askName(msg::kNewFolderPrompt, msg::kNewFolderDefault);
  if (name.empty()) return;
  std::u16string path = key + name;
  std::string native = rt::fs::nativePath(path);
  struct stat st {};
  if (::lstat(native.c_str(), &st) == 0) {
    rt::uiHost().messageBox(std::u16string(msg::kFolderExists), rt::mb::OkOnly, msg::appTitle());
    return;
  }
  if (::mkdir(native.c_str(), 0777) != 0) return;
  add(key, TreeNode{std::u16string(kDir), path + u"/", name, u"closed", u"opened"});
}

}  // namespace marlox
