#include "marloxqt/qtnet.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "marlox/textcodec.h"
#include "marloxqt/text.h"

namespace marloxqt {

bool QtNet::fetchText(const std::u16string& url, std::u16string& text) {
  QUrl address(qs(url));
  if (!address.isValid() || address.scheme().isEmpty()) return false;
  QNetworkRequest request(address);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
  std::unique_ptr<QNetworkReply> reply(manager_.get(request));

  QByteArray body;
  bool givenUp = false;
  auto giveUp = [&] {
    givenUp = true;
    reply->abort();
  };
  QEventLoop loop;
  QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
    body += reply->readAll();
    if (body.size() > sizeLimit_) giveUp();
  });
  QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, &loop, giveUp);
  timer.start(timeLimitMs_);
  if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  timer.stop();
  if (!reply->isFinished()) giveUp();  // the loop was left early: the program is ending
  if (givenUp || reply->error() != QNetworkReply::NoError) return false;
  body += reply->readAll();
  if (body.size() > sizeLimit_) return false;
  QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (status.isValid() && status.toInt() >= 400) return false;
  std::string charset = marlox::charsetOf(reply->header(QNetworkRequest::ContentTypeHeader).toString().toStdString());
  std::u16string decoded;
  if (!marlox::decodeText(std::string_view(body.constData(), static_cast<size_t>(body.size())), charset, decoded) &&
      !marlox::decodeText(std::string_view(body.constData(), static_cast<size_t>(body.size())), {}, decoded))
    return false;
  text = std::move(decoded);
  return true;
}

void QtBrowser::openUrl(const std::u16string& url) { QDesktopServices::openUrl(QUrl(qs(url))); }

}  // namespace marloxqt
