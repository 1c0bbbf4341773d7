// Helpers of the stream tests: a scratch folder, file bytes, code pages and a
// host for the event stream.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "nubrel/eventstream.h"
#include "nubrel/filestreams.h"
#include "rt/text.h"

namespace streamtest {

using Bytes = std::vector<uint8_t>;

// The host of an event stream that keeps what is written and answers reads
// from its own text.
class LoopbackHost : public nubrel::EventStreamEvents {
 public:
  void writeString(const std::u16string& str) override {
    pieces.push_back(str);
    text += str;
  }
  void readString(std::u16string& strBuf, int32_t readSize) override {
    reads.push_back(readSize);
    strBuf = text.substr(pos, static_cast<size_t>(readSize));
    pos += strBuf.size();
  }
  void chackEOF(bool& isEOF) override { isEOF = pos >= text.size(); }

  std::u16string text;
  size_t pos = 0;
  std::vector<std::u16string> pieces;
  std::vector<int32_t> reads;
};

// The four stream classes.
enum class Kind { Binary, TextFile, Memory, Events };
inline const Kind kAllKinds[] = {Kind::Binary, Kind::TextFile, Kind::Memory, Kind::Events};
const char* nameOf(Kind k);

// A fresh folder per test, removed afterwards; the code page is reset to
// UTF-8 after every test.
class StreamTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A path inside the scratch folder (UTF-16, as the streams take it).
  std::u16string path(const std::string& name) const;
  std::string fsPath(const std::string& name) const { return dir_ + "/" + name; }

  Bytes readFile(const std::string& name) const;
  void writeFile(const std::string& name, const Bytes& bytes) const;
  bool exists(const std::string& name) const;
  // Names in the scratch folder, sorted.
  std::vector<std::string> listing() const;

  // A stream of that class to write to, and then one that reads back what
  // was written to it (the file closed and opened again, the buffer or the
  // host's text read from its start).
  rt::Ref<nubrel::VStream> writer(Kind k);
  rt::Ref<nubrel::VStream> reader(Kind k, rt::Ref<nubrel::VStream> written);

 private:
  std::string dir_;
  rt::Ref<LoopbackHost> host_;
};

// "88 66 66 88 0C" -> bytes; spaces are ignored.
Bytes hex(const std::string& text);
Bytes ascii(const std::string& text);
Bytes concat(std::initializer_list<Bytes> parts);
std::string show(const Bytes& b);

// The bytes of a UTF-16 text in the current code page.
Bytes ansi(std::u16string_view s);

}  // namespace streamtest
