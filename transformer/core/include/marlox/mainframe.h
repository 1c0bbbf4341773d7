// The main window as the core sees it: the document, the script tree and
// the ports of the window's own controls; the menu and toolbar commands and
// the window's load and close.  The window layer makes one when the program
// opens its window and routes its controls' events here.
#pragma once

#include <string>
#include <string_view>

#include "marlox/document.h"
#include "marlox/ports.h"
#include "marlox/scripttree.h"

namespace marlox {

class Program;

class MainFrame {
 public:
  MainFrame(Program& program, EditorPort& editor, WindowPort& window, TreePort& tree)
      : program_(program), editor_(editor), window_(window), document_(program, editor, window),
        tree_(program, tree, window) {}

  Document& document() { return document_; }
  ScriptTree& tree() { return tree_; }
  EditorPort& editor() { return editor_; }
  WindowPort& window() { return window_; }

  // The window's load: the tree is built and an unnamed, unchanged text
  // begins.
  void load();

  // The File menu's items 0 to 4 (new, open, URL, save, save as).
  void fileMenu(int index);
  // The toolbar's buttons by key, compared without regard to case; a key
  // it does not know does nothing.
  void toolbarButton(std::u16string_view key);
  // The Help menu: the about box, and the web site (Main/WebSite of the
  // profile, else the program folder's README.txt).
  void about();
  void openWebSite();
  std::u16string webSite();

  // A close of the window is asked for: false keeps it open.  While a
  // script runs it is told to stop and the close waits until the outermost
  // run has returned (the program then asks again); otherwise the question
  // about unsaved text decides.
  bool closeRequested();
  // Whether a close waits, clearing the mark.
  bool takePendingClose();

 private:
  Program& program_;
  EditorPort& editor_;
  WindowPort& window_;
  Document document_;
  ScriptTree tree_;
  bool closePending_ = false;
};

}  // namespace marlox
