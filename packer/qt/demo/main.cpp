// The packer's windows by hand: packs DIR into PACK, then unpacks PACK into
// OUT, showing the progress window (and, with a password, the password
// dialog), each step paced so that the windows can be seen.
//
//   wistel_qt_demo DIR PACK OUT [PASSWORD]
#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <cstdio>

#include "rt/activation.h"
#include "rt/uihost.h"
#include "wistel/filepack.h"
#include "wistelqt/workhost.h"

namespace {

// Boxes as Qt message boxes; each yield lets the windows paint, then waits
// a moment so that the progress can be followed.
class DemoUiHost final : public rt::UiHost {
 public:
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::UiHost>(this, iid); }
  int32_t messageBox(const std::u16string& prompt, int32_t style,
                     const std::u16string& title) override {
    QMessageBox::Icon icon = (style & rt::mb::Critical) ? QMessageBox::Critical : QMessageBox::NoIcon;
    QMessageBox box(icon, QString::fromStdU16String(title), QString::fromStdU16String(prompt));
    box.exec();
    return rt::mb::Ok;
  }
  std::u16string inputBox(const std::u16string&, const std::u16string&,
                          const std::u16string&) override {
    return {};
  }
  void beep() override { QApplication::beep(); }
  void yield() override {
    QApplication::processEvents();
    QThread::msleep(150);
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: wistel_qt_demo DIR PACK OUT [PASSWORD]\n");
    return 2;
  }
  rt::setUiHost(rt::make<DemoUiHost>());
  wistelqt::installWorkHost();
  auto pack = rt::queryRef<wistel::IFilePack>(rt::createObject(u"Wistel.FilePack").get());
  if (argc > 4) {
    pack->info()->setFlag(wistel::PF_Password);
    pack->info()->setPassword(QString::fromLocal8Bit(argv[4]).toStdU16String());
  }
  bool ok = pack->startPack(QString::fromLocal8Bit(argv[1]).toStdU16String(),
                            QString::fromLocal8Bit(argv[2]).toStdU16String()) &&
            pack->startUnPack(QString::fromLocal8Bit(argv[3]).toStdU16String());
  return ok ? 0 : 1;
}
