#include "filestreambase.h"

namespace nubrel {

namespace {

constexpr int32_t kFormatVersion = 1;
constexpr std::u16string_view kWord = u"ObjectStream";
constexpr std::u16string_view kNotAnObjectStream = u"文件不是对象流格式，打开操作不成功！";
constexpr std::u16string_view kNewerVersion =
    u"该文件的版本比本正在运行的程序的版本高，打开操作不成功！";

void writeHeader(VStream& s, int32_t signature) {
  s.setVLong(signature);
  s.setVString(kWord);
  s.setVLong(kFormatVersion);
}

// The refusal text of a header, or empty when the header is accepted.
std::u16string_view checkHeader(VStream& s, int32_t signature) {
  if (s.vLong() != signature || s.vString() != kWord) return kNotAnObjectStream;
  int32_t version = s.vLong();
  if (s.eof()) return kNotAnObjectStream;  // cut short before the version's end
  if (version > kFormatVersion) return kNewerVersion;
  return {};
}

}  // namespace

bool FileStreamBase::openStream(std::u16string_view fn, StreamDir d) {
  return open(fn, d, StreamFile::Links::Follow);
}

bool FileStreamBase::createStream(std::u16string_view fn) {
  return open(fn, OutStream, StreamFile::Links::Replace);
}

bool FileStreamBase::openKept(std::u16string_view fn) {
  return open(fn, InStream, StreamFile::Links::Follow, true);
}

// The header was accepted when the file was opened: its bytes are the same.
bool FileStreamBase::rewind() {
  if (!file_.rewind()) return false;
  failure_.clear();
  checkHeader(*this, signature_);
  return true;
}

bool FileStreamBase::open(std::u16string_view fn, StreamDir d, StreamFile::Links links, bool keep) {
  failure_.clear();
  // Opening again closes (and so saves) the file opened before.
  if (!closeStream() && !failure_.empty()) return false;
  dir_ = d;
  try {
    if (d == OutStream) {
      file_.openWrite(fn, links);
      writeHeader(*this, signature_);
      return true;
    }
    file_.openRead(fn, keep);
    std::u16string_view refusal = checkHeader(*this, signature_);
    if (refusal.empty()) return true;
    failure_ = refusal;
  } catch (const rt::RuntimeError& e) {
    failure_ = e.description();
  }
  // Nothing stays open after a failed open: later values raise.
  file_.discard();
  return false;
}

bool FileStreamBase::closeStream() {
  if (!file_.isOpen()) return false;
  try {
    file_.close();
  } catch (const rt::RuntimeError& e) {
    failure_ = e.description();
    return false;
  }
  return true;
}

void FileStreamBase::recordReadFailure(const rt::RuntimeError& e) {
  if (failure_.empty()) failure_ = e.description();
  file_.skipPastEnd();
}

}  // namespace nubrel
