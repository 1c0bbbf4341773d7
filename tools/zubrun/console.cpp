#include "console.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "rawkeys.h"
#include "rt/error.h"
#include "rt/fspath.h"
#include "rt/text.h"

namespace zubrun {

namespace {

// Bytes after the first of a UTF-8 sequence.
int continuationBytes(unsigned char lead) {
  if (lead >= 0xF0) return 3;
  if (lead >= 0xE0) return 2;
  if (lead >= 0xC0) return 1;
  return 0;
}

}  // namespace

void Console::putPendingCr() {
  if (pendingCr_) {
    std::fputc('\r', out_);
    pendingCr_ = false;
  }
}

void Console::beforeInput() {
  putPendingCr();
  std::fflush(out_);  // a prompt shows before the program waits
}

int Console::finish() {
  putPendingCr();
  return outputError(out_);
}

int outputError(std::FILE* out) {
  errno = 0;
  if (std::fflush(out) == 0 && !std::ferror(out)) return 0;
  return errno ? errno : EIO;
}

void Console::inputLine(std::u16string& inBuf) {
  beforeInput();
  std::string line;
  int c;
  while ((c = std::getc(in_)) != EOF && c != '\n') {
    if (line.size() == kMaxInputLine) {
      std::ungetc(c, in_);  // the next Input goes on from here
      rt::raise(rt::err::OutOfStringSpace,
                u"输入的一行超过 " + rt::ascii(std::to_string(kMaxInputLine)) + u" 字节");
    }
    line += static_cast<char>(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  inBuf = rt::fromUtf8(line);
}

void Console::inputChar(int16_t& aCode) {
  beforeInput();
  RawKeys keys(in_);
  int c = std::getc(in_);
  if (c == EOF) return;
  std::string bytes(1, static_cast<char>(c));
  for (int n = continuationBytes(static_cast<unsigned char>(c)); n > 0; --n) {
    int next = std::getc(in_);
    if (next == EOF) break;
    bytes += static_cast<char>(next);
  }
  std::u16string ch = rt::fromUtf8(bytes);
  char32_t code = ch.empty() ? 0 : ch[0];
  if (ch.size() == 2 && ch[0] >= 0xD800 && ch[0] < 0xDC00)
    code = 0x10000 + ((ch[0] - 0xD800) << 10) + (ch[1] - 0xDC00);
  aCode = static_cast<int16_t>(static_cast<uint16_t>(code));
}

rt::RuntimeError outputFailure(int errnum) {
  if (errnum == EPIPE) {
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
    std::_Exit(128 + SIGPIPE);  // were the signal blocked
  }
  const int32_t number = rt::fs::errorNumber(errnum, rt::err::DeviceIO, rt::err::DeviceIO);
  return rt::RuntimeError(number,
                          rt::errorText(number) + u"：不能写出到标准输出（" +
                              rt::fromUtf8(std::strerror(errnum)) + u"）",
                          u"Output");
}

void writeOutput(std::string_view bytes, std::FILE* out) {
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::ferror(out))
    throw outputFailure(errno ? errno : EIO);  // failed before: the cause is gone
}

void Console::output(const std::u16string& s) { write(rt::toUtf8(s)); }

void Console::write(std::string_view bytes) {
  if (keepCrLf_ || (!pendingCr_ && bytes.find('\r') == bytes.npos)) {
    writeOutput(bytes, out_);
    return;
  }
  std::string out;
  out.reserve(bytes.size() + 1);
  for (char c : bytes) {
    if (pendingCr_ && c != '\n') out += '\r';
    pendingCr_ = c == '\r';
    if (!pendingCr_) out += c;
  }
  writeOutput(out, out_);
}

void Console::outErr(const std::u16string& s) {
  std::string bytes = rt::toUtf8(s);
  std::fflush(out_);
  std::fwrite(bytes.data(), 1, bytes.size(), stderr);
}

}  // namespace zubrun
