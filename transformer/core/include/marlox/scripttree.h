// The script tree: the script folders listed in section zubDirList of the
// profile, their sub-folders and their scripts (".zub"), and the commands on
// it (execute, new script, edit, delete, new folder).  The core keeps the
// nodes; the tree view mirrors every node added or removed.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "marlox/ports.h"

namespace marlox {

class Program;

class ScriptTree {
 public:
  enum class Kind { None, Root, Dir, Zub };

  // Which popup items are enabled for the selected node; `shown` is false
  // when no node is selected (then there is no popup).  "New folder" is
  // always enabled.
  struct PopupState {
    bool shown = false;
    bool exec = false;
    bool add = false;
    bool edit = false;
    bool del = false;
  };

  ScriptTree(Program& program, TreePort& view, WindowPort& window)
      : program_(program), view_(view), window_(window) {}

  // Clears the tree and builds it from zubDirList: keys "1" to "10", the
  // first empty one ends the list.
  void load();
  // One root: `folder` ("\" or "/", a trailing separator optional) under
  // `title` (the folder's last part when empty).  An empty folder, or one
  // already shown as a root, adds nothing.
  void addRoot(std::u16string_view folder, std::u16string_view title);

  Kind kindOf(std::u16string_view key) const;
  const TreeNode* node(std::u16string_view key) const;
  // The keys of the children of `key` ("" for the roots), in order.
  std::vector<std::u16string> children(std::u16string_view key) const;

  // The description of a script: the lines of its first "/*" ... "*/"
  // block joined with nothing between them, tabs removed.
  static std::u16string description(std::u16string_view path);

  // A click on a node: a script shows its description in the status bar,
  // any other node its key.
  void nodeClick(std::u16string_view key);
  // Runs the selected script (nothing on a folder or with no selection).
  void execute();
  PopupState popupState();
  // The popup's items by index: 0 execute, 2 new, 3 edit, 4 delete,
  // 6 new folder.  A failing command ends quietly.
  void popupCommand(int index);
  void newScript();
  void editScript();
  void deleteScript();
  void newScriptFolder();

 private:
  struct Entry {
    TreeNode shown;
    std::u16string parent;  // "" for a root
    std::vector<std::u16string> children;
  };

  void scan(const std::u16string& path);
  void add(const std::u16string& parent, TreeNode node);
  void remove(const std::u16string& key);
  // The selected node's key, "" when none.
  std::u16string selected();
  // The selected root or folder that a new script or folder goes into;
  // "" (after a beep, and for a script the status text) when there is none.
  std::u16string selectedFolder();
  // The name typed into an input box, or "" when it ends the command
  // (empty, or not a plain name).
  std::u16string askName(std::u16string_view prompt, std::u16string_view defaultText);
  void editInEditor(const std::u16string& path);
  void showStatus(std::u16string_view text);

  Program& program_;
  TreePort& view_;
  WindowPort& window_;
  std::map<std::u16string, Entry, std::less<>> nodes_;
  std::vector<std::u16string> roots_;
};

}  // namespace marlox
