#include "marloxqt/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QToolBar>

#include "marlox/messages.h"
#include "marlox/program.h"
#include "marloxqt/iconset.h"
#include "marloxqt/scripttreeview.h"
#include "marloxqt/text.h"
#include "marloxqt/textbox.h"
#include "rt/text.h"

namespace marloxqt {

namespace msg = marlox::msg;

namespace {

// The splitter's design sizes, from the window's twips at 15 to a pixel.
constexpr int kGripWidth = 4;     // 60 twips
constexpr int kTreeWidth = 164;   // 2460 twips
constexpr int kLeastPane = 14;    // more than 200 twips

QAction* action(QObject* parent, const char* name, std::u16string_view caption) {
  auto* a = new QAction(qs(caption), parent);
  a->setObjectName(QLatin1String(name));
  return a;
}

}  // namespace

MainWindow::MainWindow(marlox::Program& program)
    : program_(program),
      tree_(new ScriptTreeView),
      model_(new QStandardItemModel(this)),
      editor_(new TextBox),
      splitter_(new QSplitter(Qt::Horizontal)),
      status_(new QLabel) {
  setObjectName(QStringLiteral("frmMx"));
  tree_->setModel(model_);
  editor_->setObjectName(QStringLiteral("txtT"));
  // A text may hold very long lines (a file of data on one line): laid out
  // without wrapping, a line costs time in proportion to its length, where
  // wrapping a line without spaces costs in proportion to its square (and
  // the text box shows a very long line in pieces, so an edit lays out
  // one piece).  Shaping is left out where a script does not need it.
  QFont font(QStringLiteral("宋体"));
  font.setStyleStrategy(QFont::PreferNoShaping);
  editor_->setFont(font);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  splitter_->setObjectName(QStringLiteral("splitter"));
  splitter_->setOpaqueResize(false);
  splitter_->setHandleWidth(kGripWidth);
  splitter_->setChildrenCollapsible(false);
  tree_->setMinimumWidth(kLeastPane);
  editor_->setMinimumWidth(kLeastPane);
  splitter_->addWidget(tree_);
  splitter_->addWidget(editor_);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({kTreeWidth, 900 - kTreeWidth});
  setCentralWidget(splitter_);
  status_->setObjectName(QStringLiteral("sBarText"));
  statusBar()->setObjectName(QStringLiteral("sBar"));
  statusBar()->addWidget(status_, 1);

  editorPort_ = std::make_unique<QtEditor>(editor_);
  treePort_ = std::make_unique<QtTree>(tree_, model_);
  frame_ = std::make_unique<marlox::MainFrame>(program_, *editorPort_, *this, *treePort_);

  buildMenus();
  buildToolBar();
  buildPopup();

  connect(editor_, &QPlainTextEdit::textChanged, this, [this] { frame_->document().textChanged(); });
  connect(tree_, &QTreeView::clicked, this,
          [this](const QModelIndex& i) { frame_->tree().nodeClick(us(i.data(kKeyRole).toString())); });
  connect(tree_, &QTreeView::doubleClicked, this, [this] { frame_->tree().execute(); });
  tree_->onPopup = [this](QPoint where) { showPopup(where); };
  resize(900, 600);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(qs(msg::kMenuFile));
  file->setObjectName(QStringLiteral("mmFile"));
  const std::u16string_view fileCaptions[] = {msg::kMenuFileNew, msg::kMenuFileOpen, msg::kMenuFileUrl,
                                              msg::kMenuFileSave, msg::kMenuFileSaveAs};
  const QKeySequence fileKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_N), QKeySequence(Qt::CTRL | Qt::Key_O), {},
                                   QKeySequence(Qt::CTRL | Qt::Key_S), {}};
  for (int i = 0; i < 5; ++i) {
    QAction* a = action(file, ("mmFiles_" + std::to_string(i)).c_str(), fileCaptions[i]);
    a->setShortcut(fileKeys[i]);
    connect(a, &QAction::triggered, this, [this, i] { frame_->fileMenu(i); });
    file->addAction(a);
  }
  file->addSeparator()->setObjectName(QStringLiteral("mmFileN1"));
  QAction* exit = action(file, "mmExit", msg::kMenuExit);
  connect(exit, &QAction::triggered, this, &QWidget::close);
  file->addAction(exit);

  QMenu* edit = menuBar()->addMenu(qs(msg::kMenuEdit));
  edit->setObjectName(QStringLiteral("mmEdit"));
  const std::u16string_view editCaptions[] = {msg::kMenuCut, msg::kMenuCopy, msg::kMenuPaste, {}, msg::kMenuSelectAll};
  for (int i = 0; i < 5; ++i) {
    if (i == 3) {
      edit->addSeparator()->setObjectName(QStringLiteral("mmEdits_3"));
      continue;
    }
    QAction* a = action(edit, ("mmEdits_" + std::to_string(i)).c_str(), editCaptions[i]);
    if (i == 4) a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(a, &QAction::triggered, this, [this, i] { frame_->document().editCommand(i); });
    edit->addAction(a);
  }

  QMenu* help = menuBar()->addMenu(qs(msg::kMenuHelp));
  help->setObjectName(QStringLiteral("mmHelp"));
  QAction* site = action(help, "mmBrowGrintel", msg::kMenuWebSite);
  site->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  connect(site, &QAction::triggered, this, [this] { frame_->openWebSite(); });
  help->addAction(site);
  help->addSeparator()->setObjectName(QStringLiteral("mmHelpN1"));
  QAction* about = action(help, "mmAbout", msg::kMenuAbout);
  connect(about, &QAction::triggered, this, [this] { frame_->about(); });
  help->addAction(about);
}

void MainWindow::buildToolBar() {
  QToolBar* bar = addToolBar(QString());
  bar->setObjectName(QStringLiteral("tBar"));
  bar->setMovable(false);
  struct Button {
    std::u16string_view key;
    std::u16string_view tip;
    bool separatorAfter;
  };
  static constexpr Button kButtons[] = {
      {u"new", msg::kTipNew, false},   {u"open", msg::kTipOpen, false}, {u"url", msg::kTipUrl, true},
      {u"save", msg::kTipSave, false}, {u"saveas", msg::kTipSaveAs, true}, {u"cut", msg::kTipCut, false},
      {u"copy", msg::kTipCopy, false}, {u"paste", msg::kTipPaste, true}, {u"exec", msg::kTipExec, true},
      {u"help", msg::kTipHelp, false},
  };
  for (const Button& b : kButtons) {
    QAction* a = action(bar, ("tBar_" + rt::toUtf8(b.key)).c_str(), b.tip);
    a->setIcon(iconFor(b.key));
    a->setToolTip(qs(b.tip));
    std::u16string key(b.key);
    connect(a, &QAction::triggered, this, [this, key] { frame_->toolbarButton(key); });
    bar->addAction(a);
    if (b.separatorAfter) bar->addSeparator();
  }
}

void MainWindow::buildPopup() {
  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("mmTreePop"));
  const std::u16string_view captions[] = {msg::kPopExec, {}, msg::kPopNew, msg::kPopEdit, msg::kPopDelete, {}, msg::kPopNewFolder};
  for (int i = 0; i < 7; ++i) {
    if (captions[i].empty()) {
      popup_->addSeparator()->setObjectName(QString::fromLatin1("mmPops_%1").arg(i));
      continue;
    }
    QAction* a = action(popup_, ("mmPops_" + std::to_string(i)).c_str(), captions[i]);
    connect(a, &QAction::triggered, this, [this, i] { frame_->tree().popupCommand(i); });
    popup_->addAction(a);
    if (i == 0) popup_->setDefaultAction(a);
  }
}

void MainWindow::showPopup(QPoint where) {
  marlox::ScriptTree::PopupState state = frame_->tree().popupState();
  if (!state.shown) return;
  const bool enabled[] = {state.exec, false, state.add, state.edit, state.del, false, true};
  QList<QAction*> items = popup_->actions();
  for (int i = 0; i < items.size(); ++i)
    if (!items[i]->isSeparator()) items[i]->setEnabled(enabled[i]);
  popup_->popup(where);
}

void MainWindow::placeCentered() {
  resize(900, 600);
  if (QScreen* s = screen()) move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void MainWindow::setCaption(const std::u16string& caption) { setWindowTitle(qs(caption)); }

void MainWindow::setStatus(const std::u16string& text) { status_->setText(shown(text)); }

void MainWindow::requestClose() { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); }

void MainWindow::closeEvent(QCloseEvent* event) {
  if (gone_) return event->accept();
  if (!frame_->closeRequested()) return event->ignore();
  event->accept();
  hide();
  program_.quit();
  gone_ = true;
  if (onClosed) onClosed();
}

}  // namespace marloxqt
