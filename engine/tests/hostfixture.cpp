#include "hostfixture.h"

#include "rt/convert.h"
#include "testsupport.h"

namespace enginetest {

void Recorder::inputLine(std::u16string& inBuf) {
  events.push_back("line");
  if (!lines.empty()) inBuf = lines.front(), lines.pop_front();
}

void Recorder::inputChar(int16_t& aCode) {
  events.push_back("char");
  if (!chars.empty()) aCode = chars.front(), chars.pop_front();
}

void Recorder::output(const std::u16string& s) { events.push_back("out:" + utf8(s)); }

void Recorder::includeFile(const std::u16string& s) {
  events.push_back("include:" + utf8(s));
  if (onInclude) onInclude(s);
}

std::string Recorder::output() const {
  std::string all;
  for (const std::string& e : events)
    if (e.rfind("out:", 0) == 0) all += e.substr(4);
  return all;
}

void HostFixture::run(std::u16string_view source) {
  host->execStream(*scriptStream(source));
  EXPECT_FALSE(host->error().haveErr()) << utf8(host->error().source()) << "\n"
                                        << utf8(host->error().description());
}

std::string HostFixture::runFailing(std::u16string_view source) {
  host->execStream(*scriptStream(source));
  jespin::IErrInfo& e = host->error();
  EXPECT_TRUE(e.haveErr()) << utf8(source);
  return std::to_string(e.number()) + ": " + utf8(e.source());
}

std::string HostFixture::valueOf(std::u16string_view name) {
  return utf8(rt::toText(host->sSpace()->value(name)->value()));
}

}  // namespace enginetest
