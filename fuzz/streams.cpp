// The stream readers on any data.  What a stream reads without a failure
// must write and read back the same under UTF-8 (under CP936 a unit the code
// page cannot hold is written as "?", by design).
#include <string>

#include "fileinput.h"
#include "nubrel/memstream.h"
#include "streaminput.h"
#include "targets.h"

namespace fuzz {

namespace {

// Values one input may read: far more than a small input holds.
constexpr size_t kMaxReads = 4096;

constexpr std::string_view kBinaryHeader(
    "\x88\x66\x66\x88\x0C\x00\x00\x00ObjectStream\x01\x00\x00\x00", 24);
constexpr std::string_view kTextHeader("FFFFFFFF0000000CObjectStream00000001");

// Writes `values` to a new file of the stream class and reads them back.
void fileRoundTrip(std::u16string_view progId, const std::vector<Value>& values) {
  auto out = newObject<nubrel::IStreamFile>(progId);
  std::u16string path = rt::fromUtf8(tempFolder() + "roundtrip");
  check(out->openStream(path, nubrel::OutStream), "cannot write a stream file");
  writeValues(*out, values);
  check(out->closeStream(), "cannot save a stream file");

  auto in = newObject<nubrel::IStreamFile>(progId);
  check(in->openStream(path, nubrel::InStream), "a written stream file does not open");
  std::vector<Value> back = readValues(*in, opsOf(values), values.size(), in.get());
  check(sameValues(values, back), "values read do not write and read back the same");
  check(in->errInfo().empty(), "reading back what was written fails");
}

void fileStreamTarget(std::u16string_view progId, std::string_view header, const uint8_t* data,
                      size_t size) {
  prepare();
  StreamInput in = splitStreamInput(data, size);
  CodePageScope cp(in.cp936);
  std::string file = in.header ? std::string(header) : std::string();
  file += in.data;
  std::u16string path = writeTempFile("input", file);

  auto s = newObject<nubrel::IStreamFile>(progId);
  if (!s->openStream(path, nubrel::InStream)) {
    check(!s->errInfo().empty(), "a refused open says why");
    return;
  }
  std::vector<Value> values = readValues(*s, in.ops, kMaxReads, s.get());
  s->closeStream();
  if (!in.cp936) fileRoundTrip(progId, values);
}

}  // namespace

void binFileStream(const uint8_t* data, size_t size) {
  fileStreamTarget(u"Nubrel.BinFileStream", kBinaryHeader, data, size);
}

void fileStream(const uint8_t* data, size_t size) {
  fileStreamTarget(u"Nubrel.FileStream", kTextHeader, data, size);
}

// The data is text: UTF-16LE after FF FE, UTF-8 otherwise.  Every stream
// written back reads back, under either code page (the buffer is text).
void memStream(const uint8_t* data, size_t size) {
  prepare();
  StreamInput in = splitStreamInput(data, size);
  CodePageScope cp(in.cp936);
  auto s = newObject<nubrel::IMemStream>(u"Nubrel.MemStream");
  s->setStrBuffer(inputText(in.data));
  std::vector<Value> values = readValues(*s, in.ops, kMaxReads);

  auto copy = newObject<nubrel::IMemStream>(u"Nubrel.MemStream");
  copy->init(nubrel::OutStream);
  writeValues(*copy, values);
  copy->setDir(nubrel::InStream);
  std::vector<Value> back = readValues(*copy, opsOf(values), values.size());
  check(sameValues(values, back), "values read do not write and read back the same");
  check(copy->eof(), "a stream read back has data left");
}

}  // namespace fuzz
