// The main window frmMx: the script tree beside the editor, under the menus
// and the toolbar, over the status bar.  Its controls' events go to the
// core's MainFrame; the window itself is the frame's WindowPort.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "marlox/mainframe.h"
#include "marlox/ports.h"
#include "marloxqt/qtports.h"
#include "marloxqt/textbox.h"

class QLabel;
class QMenu;
class QSplitter;
class QStandardItemModel;

namespace marlox {
class Program;
}

namespace marloxqt {

class ScriptTreeView;

class MainWindow final : public QMainWindow, public marlox::WindowPort {
 public:
  explicit MainWindow(marlox::Program& program);
  ~MainWindow() override;

  marlox::MainFrame& frame() { return *frame_; }
  marlox::Program& program() { return program_; }
  ScriptTreeView* tree() const { return tree_; }
  TextBox* editor() const { return editor_; }
  QLabel* statusText() const { return status_; }
  QMenu* treePopup() const { return popup_; }
  QtTree& treePort() { return *treePort_; }

  // Called once an accepted close has ended the program (the program
  // leaves its event loop there).
  std::function<void()> onClosed;

  // Places the window, 900 by 600, in the middle of its screen.
  void placeCentered();

  // WindowPort
  bool exists() override { return !gone_; }
  void setCaption(const std::u16string& caption) override;
  void setStatus(const std::u16string& text) override;
  void requestClose() override;

 protected:
  // The close box, 退出 and the system: the frame decides; an accepted
  // close hides the window and ends the program (its quit event runs while
  // this window still exists).
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void buildToolBar();
  void buildPopup();
  void showPopup(QPoint where);

  marlox::Program& program_;
  ScriptTreeView* tree_;
  QStandardItemModel* model_;
  TextBox* editor_;
  QSplitter* splitter_;
  QLabel* status_;
  QMenu* popup_ = nullptr;
  std::unique_ptr<QtEditor> editorPort_;
  std::unique_ptr<QtTree> treePort_;
  std::unique_ptr<marlox::MainFrame> frame_;
  bool gone_ = false;
};

}  // namespace marloxqt
