// Fetching a URL's text with Qt's network access, synchronously: a local
// event loop that takes no user input runs until the reply is complete.
// Redirects are followed; the body is decoded by the Content-Type's
// charset, else as UTF-8; an HTTP error status is a failure; file: and
// data: URLs work too.  A fetch gives up after its time limit or beyond
// its size limit.
#pragma once

#include <QNetworkAccessManager>
#include <cstdint>

#include "marlox/ports.h"

namespace marloxqt {

class QtNet final : public marlox::NetPort {
 public:
  bool fetchText(const std::u16string& url, std::u16string& text) override;

  void setTimeLimit(int milliseconds) { timeLimitMs_ = milliseconds; }
  void setSizeLimit(int64_t bytes) { sizeLimit_ = bytes; }

 private:
  QNetworkAccessManager manager_;
  int timeLimitMs_ = 30000;
  int64_t sizeLimit_ = 64 * 1024 * 1024;
};

class QtBrowser final : public marlox::BrowserPort {
 public:
  // The desktop's browser, through QDesktopServices.
  void openUrl(const std::u16string& url) override;
};

}  // namespace marloxqt
