// marlox: the desktop text transformer.
//
//   marlox [--home DIR] [--drive FILE] [--screenshot PNG] [TEXTFILE]
//
// The program folder is DIR, else $MARLOX_HOME, else the program's own
// folder when it holds Marlox.ini, else ${XDG_CONFIG_HOME:-~/.config}/marlox;
// a folder without Marlox.ini is filled with the default one.  TEXTFILE is
// opened once the program has started.  --drive runs a file of user actions
// (see transformer/core/include/marlox/drive.h) and exits 0 when every line
// passed, 1 otherwise; --screenshot saves a picture of the screen once the
// window is up, then closes it.  Exit status 2 for a usage problem.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "marlox/drive.h"
#include "marlox/home.h"
#include "marlox/launcher.h"
#include "marlox/program.h"
#include "marloxqt/driver.h"
#include "marloxqt/mainwindow.h"
#include "marloxqt/qtclipboard.h"
#include "marloxqt/qtdialogs.h"
#include "marloxqt/qtnet.h"
#include "marloxqt/qtuihost.h"
#include "marloxqt/text.h"
#include "rt/clipboard.h"
#include "rt/error.h"
#include "rt/text.h"
#include "wistelqt/workhost.h"

namespace {

constexpr const char* kUsage =
    "usage: marlox [--home DIR] [--drive FILE] [--screenshot PNG] [TEXTFILE]\n"
    "       marlox --version | --help\n"
    "\n"
    "--home DIR        the program folder (else $MARLOX_HOME, the program's own\n"
    "                  folder when it holds Marlox.ini, or ~/.config/marlox)\n"
    "--drive FILE      run the user actions of FILE, then close; exit 1 at the\n"
    "                  first line that fails\n"
    "--screenshot PNG  save a picture of the screen once the window is up, then close\n";

struct Options {
  std::string home, drive, screenshot, textFile;
};

int usage(const std::string& problem) {
  std::fprintf(stderr, "marlox: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

// Reads the options; nullopt when the program ends here with `status`.
std::optional<Options> parse(int argc, char** argv, int& status) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      status = 0;
      return std::nullopt;
    }
    if (a == "--version") {
      std::printf("marlox %s\n", rt::toUtf8(marlox::Program::version()).c_str());
      status = 0;
      return std::nullopt;
    }
    bool ok = true;
    if (a == "--home") ok = value(o.home);
    else if (a == "--drive") ok = value(o.drive);
    else if (a == "--screenshot") ok = value(o.screenshot);
    else if (!a.empty() && a[0] == '-') ok = false;
    else if (o.textFile.empty()) o.textFile = a;
    else ok = false;
    if (!ok) {
      status = usage("cannot use " + a);
      return std::nullopt;
    }
  }
  return o;
}

// What a driven run needs: its lines, read before the window opens.
std::optional<std::vector<marlox::DriveLine>> readDrive(const std::string& path) {
  QFile file(QString::fromLocal8Bit(path.c_str()));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "marlox: cannot read %s\n", path.c_str());
    return std::nullopt;
  }
  try {
    return marlox::parseDrive(marloxqt::us(QString::fromUtf8(file.readAll())));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "marlox: %s\n", e.what());
    return std::nullopt;
  }
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  std::optional<Options> options = parse(argc, argv, status);
  if (!options) return status;
  std::optional<std::vector<marlox::DriveLine>> drive;
  if (!options->drive.empty() && !(drive = readDrive(options->drive))) return 1;

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("marlox"));
  QApplication::setQuitOnLastWindowClosed(false);
  // The program speaks Chinese, so do Qt's own buttons and dialogs (when
  // Qt's translations are installed).
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);

  std::string home = marlox::prepareHome(
      marlox::chooseHome(options->home, QCoreApplication::applicationDirPath().toStdString()));
  if (home.empty()) {
    std::fprintf(stderr, "marlox: cannot make the program folder\n");
    return 1;
  }

  auto ui = rt::make<marloxqt::QtUiHost>();
  auto answers = rt::make<marlox::DriveAnswers>(ui);
  rt::setUiHost(drive ? rt::Ref<rt::UiHost>(answers) : rt::Ref<rt::UiHost>(ui));
  rt::setClipboardHost(rt::make<marloxqt::QtClipboardHost>());
  wistelqt::installWorkHost();

  marloxqt::QtDialogs dialogs;
  marloxqt::QtNet net;
  marloxqt::QtBrowser browser;
  marlox::SystemLauncher launcher;
  marloxqt::QtClipboardText clipboard;
  marlox::DialogPort& dialogPort = drive ? static_cast<marlox::DialogPort&>(*answers) : dialogs;
  marlox::Program program(rt::fromUtf8(home), marlox::Services{dialogPort, net, browser, launcher, clipboard});

  std::unique_ptr<marloxqt::MainWindow> window;
  try {
    program.start([&] {
      window = std::make_unique<marloxqt::MainWindow>(program);
      window->onClosed = [] { QApplication::exit(0); };
      dialogs.setParent(window.get());
      window->frame().load();
      window->placeCentered();
      window->show();
      return &window->frame();
    });
  } catch (const rt::RuntimeError& e) {
    std::fprintf(stderr, "marlox: %s\n", e.what());
    return 1;
  }
  if (!options->textFile.empty())
    window->frame().document().cmFileOpen(
        marloxqt::us(QFileInfo(QString::fromLocal8Bit(options->textFile.c_str())).absoluteFilePath()));

  std::optional<marloxqt::Driver> driver;
  if (drive) {
    QString folder = QFileInfo(QString::fromLocal8Bit(options->drive.c_str())).absolutePath();
    driver.emplace(*window, *answers, std::move(*drive), folder);
    driver->start();
  }
  if (!options->screenshot.empty()) {
    QString path = QString::fromLocal8Bit(options->screenshot.c_str());
    QTimer::singleShot(0, [&, path] {
      if (!marloxqt::saveScreenshot(*window, path)) {
        std::fprintf(stderr, "marlox: cannot save %s\n", options->screenshot.c_str());
        status = 1;
      } else {
        std::printf("%s\n", QFileInfo(path).absoluteFilePath().toLocal8Bit().constData());
      }
      if (!driver) window->close();
    });
  }
  int code = QApplication::exec();
  rt::setUiHost(nullptr);
  rt::setClipboardHost(nullptr);
  if (driver && driver->failed()) return 1;
  if (driver && !driver->finished()) {
    std::fprintf(stderr, "marlox: drive: the program ended before the last line\n");
    return 1;
  }
  return code != 0 ? code : status;
}
