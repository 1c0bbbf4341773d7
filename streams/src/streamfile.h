// The file behind a file stream.
//
// Input reads a regular file through a buffer, never past the length the file
// had when it was opened.  Output writes a new file beside the target and
// renames it over the target on close, so nothing of an older, longer file
// survives and a failed write leaves the old file whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "rt/replacefile.h"

namespace nubrel {

class StreamFile {
 public:
  StreamFile() = default;
  StreamFile(const StreamFile&) = delete;
  StreamFile& operator=(const StreamFile&) = delete;
  // Closes; an output file is saved if it can be.
  ~StreamFile();

  // Opening raises the runtime's file errors (naming the file); nothing is
  // open afterwards then.  A file kept keeps every byte read until it is
  // closed.
  void openRead(std::u16string_view name, bool keep = false);
  // A symbolic link at `name` is followed (the file it names is replaced)
  // or replaced by the new file itself.  A name that leads to a device, a
  // pipe or a file held open (rt::fs::writtenThrough) is written through
  // when followed and refused (75) otherwise.
  enum class Links { Follow, Replace };
  void openWrite(std::u16string_view name, Links links);
  bool isOpen() const { return fd_ >= 0; }
  // Saves an output file over its target; raises when that fails.  Nothing
  // is open afterwards either way.
  void close();
  // Closes without saving an output file.
  void discard() noexcept;

  // Input; raises 52 with no file open and 54 on a file open for output.
  // Up to k bytes ahead of the position (fewer at the end).
  std::string_view peek(size_t k);
  void consume(size_t k);
  // Copies n bytes; false when fewer are left (they are consumed, and the
  // position is past the end).
  bool read(char* dst, size_t n);
  uint64_t left() const { return size_ - pos_; }
  // Moves past the end: after a read that found too little data.
  void skipPastEnd();
  // A file kept: reads again from its first byte, up to where reading had
  // come, never the file again.  False for a file not kept.
  bool rewind();
  bool pastEnd() const { return pastEnd_; }

  // Output; raises 52 with no file open and 54 on a file open for input.
  void write(std::string_view bytes);

 private:
  void checkReading();
  void fill(size_t k);
  void flush();
  // Forgets the file (a new one not saved goes); an input descriptor is
  // closed already.
  void reset() noexcept;

  int fd_ = -1;
  std::string target_;  // the file read, or the one the new file replaces
  std::optional<rt::FileReplacement> out_;  // output: the new file until it is saved
  std::string buf_;
  size_t head_ = 0;  // input: next unread byte in buf_
  uint64_t size_ = 0;
  uint64_t pos_ = 0;
  uint64_t fetched_ = 0;  // input: bytes taken from the file into buf_
  bool pastEnd_ = false;
  bool keep_ = false;  // input: buf_ holds every byte fetched
};

}  // namespace nubrel
