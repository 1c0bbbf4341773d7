#include "marloxqt/driver.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "marlox/program.h"
#include "marlox/scriptbridge.h"
#include "marloxqt/mainwindow.h"
#include "marloxqt/text.h"

namespace marloxqt {

namespace {

// Lets the window be shown and painted before it is pictured.
void waitUntilShown(QWidget& w) {
  for (int i = 0; i < 100 && !(w.windowHandle() && w.windowHandle()->isExposed()); ++i) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  QApplication::processEvents();
}

// Types `text` into the editor as key presses.
void type(QPlainTextEdit* editor, const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    QString unit = text.mid(i, text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1);
    i += unit.size() - 1;
    const bool lineBreak = unit == QLatin1String("\n");
    QKeyEvent press(QEvent::KeyPress, lineBreak ? Qt::Key_Return : Qt::Key_unknown, Qt::NoModifier,
                    lineBreak ? QStringLiteral("\r") : unit);
    QApplication::sendEvent(editor, &press);
  }
}

// Presses `keys` (a shortcut's text) in the editor; false when they are not
// keys.
bool press(QPlainTextEdit* editor, const QString& keys) {
  const QKeySequence sequence = QKeySequence::fromString(keys, QKeySequence::PortableText);
  if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) return false;
  for (int i = 0; i < sequence.count(); ++i) {
    const Qt::Key key = sequence[i].key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    QKeyEvent event(QEvent::KeyPress, key, sequence[i].keyboardModifiers(), enter ? QStringLiteral("\r") : QString());
    QApplication::sendEvent(editor, &event);
  }
  return true;
}

// Whether every pixel of `image` has one colour (nothing shown on it yet).
bool uniform(const QImage& image) {
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); y += 4)
    for (int x = 0; x < image.width(); x += 4)
      if (image.pixel(x, y) != first) return false;
  return true;
}

QString expectation(const char* what, const QString& have, const QString& want) {
  return have == want ? QString() : QStringLiteral("%1 is \"%2\", not \"%3\"").arg(QLatin1String(what), have, want);
}

}  // namespace

bool saveScreenshot(MainWindow& window, const QString& path) {
  waitUntilShown(window);
  QPixmap picture;
  QScreen* screen = window.screen();
  if (QGuiApplication::platformName() == QLatin1String("offscreen") || !screen) {
    picture = window.grab();
  } else {
    // A window the program has painted can reach the display server a
    // little later on a busy machine: a screen of one colour is taken again.
    for (int i = 0; i < 50; ++i) {
      picture = screen->grabWindow(0);
      if (picture.isNull() || !uniform(picture.toImage())) break;
      QEventLoop pause;
      QTimer::singleShot(100, &pause, &QEventLoop::quit);
      pause.exec();
    }
  }
  return !picture.isNull() && picture.save(path);
}

Driver::Driver(MainWindow& window, marlox::DriveAnswers& answers, std::vector<marlox::DriveLine> lines,
               QString folder)
    : window_(window), answers_(answers), lines_(std::move(lines)), folder_(std::move(folder)) {
  // One timer of its own for every step: one the program ends before is
  // let go with the driver.
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, [this] { step(); });
}

void Driver::start() { timer_.start(0); }

void Driver::fail(const marlox::DriveLine* line, const QString& why) {
  failed_ = true;
  if (line)
    std::fprintf(stderr, "marlox: drive line %d: %s: %s\n", line->number, qs(line->text).toUtf8().constData(),
                 why.toUtf8().constData());
  else
    std::fprintf(stderr, "marlox: drive: %s\n", why.toUtf8().constData());
  QApplication::exit(1);
}

void Driver::step() {
  if (failed_) return;
  if (closeWaits_ > 0) return awaitClose();
  if (next_ == lines_.size()) {
    // Answers left while a script runs may be for the close that waits
    // for it.
    if (answers_.pending() > 0 && !bridgeRunning())
      return fail(nullptr, QStringLiteral("an answer was never asked for"));
    return close(nullptr);
  }
  const marlox::DriveLine& line = lines_[next_++];
  if (closed_) return fail(&line, QStringLiteral("the window is closed"));
  if (line.verb == u"close") return close(&line);
  if (line.verb == u"action" && next_ < lines_.size() && lines_[next_].verb == u"wait") {
    // The wait counts from the action's start, and the drive goes on when
    // it is over whether or not the action has returned: a script that
    // loops meets the next lines while it runs, as a user's actions.
    timer_.start(qs(lines_[next_++].arg).toInt());
    int unused = 0;
    QString why = run(line, unused);
    if (why.isEmpty() && answers_.failed()) why = QString::fromStdString(answers_.failure());
    if (!why.isEmpty()) fail(&line, why);
    return;
  }
  int waitMs = 0;
  QString why = run(line, waitMs);
  if (why.isEmpty() && answers_.failed()) why = QString::fromStdString(answers_.failure());
  if (!why.isEmpty()) return fail(&line, why);
  timer_.start(waitMs);
}

void Driver::close(const marlox::DriveLine* line) {
  if (!closed_) window_.close();
  closed_ = true;
  closeLine_ = line;
  awaitClose();
}

// A close while a script runs waits until the script has stopped, then
// comes back through the event loop: looked at again for a while.
void Driver::awaitClose() {
  if (answers_.failed()) return fail(closeLine_, QString::fromStdString(answers_.failure()));
  if (!window_.isVisible()) return;
  if (closeWaits_ < kCloseWaits && (closeWaits_ > 0 || bridgeRunning())) {
    ++closeWaits_;
    timer_.start(kCloseWaitMs);
    return;
  }
  fail(closeLine_, QStringLiteral("the window did not close"));
}

bool Driver::bridgeRunning() {
  marlox::Program& program = window_.program();
  return !program.quitting() && program.bridge().running();
}

QString Driver::run(const marlox::DriveLine& line, int& waitMs) {
  QString home = qs(window_.program().appPath());
  home.chop(1);
  QString arg = qs(line.arg);
  arg.replace(QLatin1String("{home}"), home).replace(QLatin1String("{drive}"), folder_);
  const std::u16string& verb = line.verb;
  marlox::MainFrame& frame = window_.frame();
  if (verb == u"open") {
    frame.document().cmFileOpen(us(QDir(folder_).absoluteFilePath(arg)));
  } else if (verb == u"type") {
    type(window_.editor(), arg);
  } else if (verb == u"key") {
    if (!press(window_.editor(), arg)) return QStringLiteral("not keys");
  } else if (verb == u"select") {
    QStringList n = arg.split(QLatin1Char(' '));
    frame.editor().select(n[0].toInt(), n[1].toInt());
  } else if (verb == u"select-all") {
    window_.findChild<QAction*>(QStringLiteral("mmEdits_4"))->trigger();
  } else if (verb == u"node") {
    // A key from the program folder, as the default script folder's are.
    std::u16string key = window_.program().absPath(us(arg));
    if (!frame.tree().node(key)) return QStringLiteral("no node %1").arg(qs(key));
    window_.treePort().select(key);
    frame.tree().nodeClick(key);
  } else if (verb == u"action") {
    auto* a = window_.findChild<QAction*>(arg);
    if (!a) return QStringLiteral("no action named %1").arg(arg);
    if (!a->isEnabled()) return QStringLiteral("the action %1 is disabled").arg(arg);
    a->trigger();
  } else if (verb == u"answer") {
    if (!answers_.queue(us(arg))) return QStringLiteral("not an answer");
  } else if (verb == u"expect-text") {
    return expectation("the text", qs(frame.editor().text()), arg);
  } else if (verb == u"expect-caption") {
    return expectation("the caption", window_.windowTitle(), arg);
  } else if (verb == u"expect-status") {
    return expectation("the status", window_.statusText()->text(), arg);
  } else if (verb == u"screenshot") {
    if (!saveScreenshot(window_, arg)) return QStringLiteral("cannot save %1").arg(arg);
  } else if (verb == u"wait") {
    waitMs = arg.toInt();
  }
  return QString();
}

}  // namespace marloxqt
