// A file read or written through a buffer of its own, for the line readers
// and the line writer: one read(2) or write(2) per buffer, no system call per
// line or per character.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace jespin {

class FileBuffer {
 public:
  static constexpr size_t kBytes = size_t{64} << 10;

  FileBuffer() = default;
  FileBuffer(const FileBuffer&) = delete;
  FileBuffer& operator=(const FileBuffer&) = delete;
  // Closes the file.  Output still waiting is written, but a failure here can
  // no longer be reported: writers flush whenever the buffer fills, so at
  // most one buffer waits, and CloseFile reports its failure.
  ~FileBuffer() { close(); }

  // Opens `path` with the flags of open(2), after closing the file open
  // before; 0, or the errno of the failure.  Opening never waits on a FIFO,
  // and a file opened for reading must be a plain file: a FIFO or a device
  // could feed one line without end.
  int open(const std::string& path, int flags);
  bool isOpen() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  // Writes the output still waiting and closes the file, which is closed
  // whatever happens; 0, or the errno of the first failure.
  int close();

  // Reading: the bytes read and not yet taken.
  const char* data() const { return buffer_.get() + begin_; }
  size_t size() const { return end_ - begin_; }
  void take(size_t n) { begin_ += n; }
  // Moves the bytes not taken to the front and reads up to `most` more after
  // them with one read(2); the bytes added, 0 at the end of the file.  A read
  // that fails raises DeviceIO (57).
  size_t refill(size_t most = kBytes);

  // Writing.  Room for `n` <= kBytes bytes at once, written out first when the
  // buffer lacks it; commit() keeps what was put there.
  char* reserve(size_t n);
  void commit(size_t n) { end_ += n; }
  // Appends `bytes`, writing the buffer out whenever it fills.
  void write(std::string_view bytes);
  // Writes out the output waiting.  A failure raises as raiseWriteFailure
  // says; what was not written stays waiting, to be tried again.
  void flush();

 private:
  // flush() without raising: 0, or the errno of the failure.
  int writeOut();

  int fd_ = -1;
  bool writing_ = false;
  std::unique_ptr<char[]> buffer_;
  // Reading: the bytes not taken.  Writing: the bytes waiting.
  size_t begin_ = 0;
  size_t end_ = 0;
};

// Raises the error of a failed write with errno `e`: DiskFull (61) when the
// disk or the size the process may write is full, DeviceIO (57) for a
// failure without a number of its own (rt::fs::errorNumber).
[[noreturn]] void raiseWriteFailure(int e);

}  // namespace jespin
