// Fetching URLs: data: and file: URLs, a loopback web server, and servers
// that fail, answer too much or never answer.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUrl>
#include <memory>

#include "marlox/textcodec.h"
#include "marloxqt/qtnet.h"
#include "qtrig.h"

namespace {

using marloxtest::TempDir;

TEST(Charsets, ContentTypesAndDecoding) {
  EXPECT_EQ(marlox::charsetOf("text/html; charset=GBK"), "GBK");
  EXPECT_EQ(marlox::charsetOf("text/plain;Charset=\"utf-8\"; x=y"), "utf-8");
  EXPECT_EQ(marlox::charsetOf("text/plain"), "");
  std::u16string text;
  ASSERT_TRUE(marlox::decodeText("\xd6\xd0\xce\xc4", "gbk", text));
  EXPECT_EQ(text, u"中文");
  ASSERT_TRUE(marlox::decodeText("caf\xe9", "ISO-8859-1", text));
  EXPECT_EQ(text, u"café");
  ASSERT_TRUE(marlox::decodeText("a\xff" "b", "", text));
  EXPECT_EQ(text, u"a\uFFFDb");
  EXPECT_FALSE(marlox::decodeText("x", "no-such-charset", text));
}

TEST(QtNet, DataAndFileUrls) {
  marloxqt::QtNet net;
  std::u16string text;
  ASSERT_TRUE(net.fetchText(u"data:text/plain;charset=utf-8,%E4%B8%AD%E6%96%87%0D%0Aline", text));
  EXPECT_EQ(text, u"中文\r\nline");
  ASSERT_TRUE(net.fetchText(u"data:text/plain;charset=gbk;base64,1tDOxA==", text));
  EXPECT_EQ(text, u"中文");
  TempDir d;
  d.write("page.txt", "file text\n");
  ASSERT_TRUE(net.fetchText(u"file://" + d.name("page.txt"), text));
  EXPECT_EQ(text, u"file text\n");
  EXPECT_FALSE(net.fetchText(u"file://" + d.name("missing.txt"), text));
  EXPECT_FALSE(net.fetchText(u"not a url", text));
}

// python3's web server on a loopback port, serving a folder.
class WebServer {
 public:
  explicit WebServer(const std::string& folder) {
    process_.setWorkingDirectory(QString::fromStdString(folder));
    process_.start(QStringLiteral("python3"), {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                                               QStringLiteral("0"), QStringLiteral("--bind"), QStringLiteral("127.0.0.1")});
    // "Serving HTTP on 127.0.0.1 port N (http://127.0.0.1:N/) ..."
    for (int i = 0; i < 100 && port_ == 0 && process_.state() != QProcess::NotRunning; ++i) {
      process_.waitForReadyRead(100);
      output_ += process_.readAllStandardOutput();
      qsizetype at = output_.indexOf(" port ");
      if (at >= 0) port_ = output_.mid(at + 6).split(' ').first().toInt();
    }
  }
  ~WebServer() {
    process_.kill();
    process_.waitForFinished();
  }
  int port() const { return port_; }
  std::u16string url(const char* path) const {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(port_).arg(QLatin1String(path)).toStdU16String();
  }

 private:
  QProcess process_;
  QByteArray output_;
  int port_ = 0;
};

TEST(QtNet, ALoopbackWebServer) {
  TempDir d;
  d.write("plain.txt", "served\r\ntext");
  d.write("sub/index.html", "<p>index</p>");
  d.write("big.txt", std::string(4000, 'x'));
  WebServer server(d.path());
  ASSERT_GT(server.port(), 0) << "python3 -m http.server did not start";
  marloxqt::QtNet net;
  std::u16string text;
  ASSERT_TRUE(net.fetchText(server.url("plain.txt"), text));
  EXPECT_EQ(text, u"served\r\ntext");
  ASSERT_TRUE(net.fetchText(server.url("sub"), text));  // redirected to sub/
  EXPECT_EQ(text, u"<p>index</p>");
  EXPECT_FALSE(net.fetchText(server.url("missing.txt"), text));  // 404
  net.setSizeLimit(1000);
  EXPECT_FALSE(net.fetchText(server.url("big.txt"), text));
  EXPECT_EQ(text, u"<p>index</p>");
}

// A server that takes the connection and never answers: the fetch gives up
// at its time limit (lowered here) with False, and the document is left as
// it was.
TEST(QtNet, AServerThatNeverAnswers) {
  QTcpServer silent;
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
  std::vector<std::unique_ptr<QTcpSocket>> held;
  QObject::connect(&silent, &QTcpServer::newConnection, [&] {
    while (QTcpSocket* s = silent.nextPendingConnection()) held.emplace_back(s);
  });
  marloxqt::QtNet net;
  net.setTimeLimit(300);
  marloxqttest::QtRig rig;
  rig.program = std::make_unique<marlox::Program>(
      rig.home.name(), marlox::Services{rig.dialogs, net, rig.browser, rig.launcher, rig.clipboard});
  rig.startWindow();
  rig.window->editor()->setPlainText(QStringLiteral("kept"));
  rig.window->frame().document().reset();  // as if loaded: no question
  QElapsedTimer clock;
  clock.start();
  const std::u16string url = QStringLiteral("http://127.0.0.1:%1/never").arg(silent.serverPort()).toStdU16String();
  EXPECT_FALSE(rig.window->frame().document().cmOpenUrl(url));
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_FALSE(held.empty());
  EXPECT_EQ(rig.window->editor()->toPlainText(), QStringLiteral("kept"));
  EXPECT_EQ(rig.window->windowTitle().toStdU16String(), u"新文件 - Pelmora文本变换器");
  rig.checkAll();
}

}  // namespace
