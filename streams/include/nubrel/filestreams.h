// The two file streams: `BinFileStream` (binary coding) and `FileStream` (the
// text coding).  Both open a file with a header that marks it as an object
// stream, and both report a failed open as a text instead of raising.
//
// Opening for output writes a new file that replaces the old one when the
// stream closes (explicitly, by opening again, or when the object goes away),
// unless it is discarded: then the old file stays as it was.
#pragma once

#include <string>
#include <string_view>

#include "nubrel/vstream.h"

namespace nubrel {

class IStreamFile : public virtual VStream {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Nubrel.IStreamFile");

  // Closes the file open before, then opens `fn`: OutStream writes a new
  // file, any other direction reads one and checks its header.  False with
  // the reason in errInfo() when the file cannot be opened or its header is
  // refused; no file is open then, and value operations raise.  Output to a
  // device, a pipe or a file held open (/dev/stdout) goes straight there.
  virtual bool openStream(std::u16string_view fn, StreamDir d) = 0;
  // Opens `fn` for output as openStream does, except that a symbolic link
  // at `fn` is replaced by the new file instead of being written through:
  // for the files the system names itself (a compile cache, a compiled
  // script's output).  A name that leads to a device, a pipe or a file held
  // open is refused, its links left as they are.
  virtual bool createStream(std::u16string_view fn) = 0;
  // Opens `fn` for input as openStream does, and keeps what it reads until
  // it is closed, so that rewind() can read it again.
  virtual bool openKept(std::u16string_view fn) = 0;
  // Reads a file openKept opened again from its first value: the bytes read
  // so far, as they were read, whatever the file holds now; nothing after
  // them.  False for a stream openKept did not open.
  virtual bool rewind() = 0;
  // False when no file is open (or an output file could not be saved, with
  // the reason in errInfo()).
  virtual bool closeStream() = 0;
  // Closes without saving: what an output file was given goes, and the file
  // it would have replaced stays as it was.  An input file is just closed.
  virtual void discardStream() = 0;
  // The last failure: of an open, a close, or a read that ran out of data.
  virtual std::u16string errInfo() = 0;
};

class IBinFileStream : public virtual IStreamFile {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Nubrel.IBinFileStream");
  static constexpr rt::Guid clsid = rt::classIdOf("Nubrel.BinFileStream");

  // The next String value as vString reads it, but as the code-page bytes
  // stored, undecoded: for a reader that must tell apart bytes the code
  // page cannot decode, which vString makes U+FFFD alike.
  virtual std::string vStringBytes() = 0;
};

class IFileStream : public virtual IStreamFile {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Nubrel.IFileStream");
  static constexpr rt::Guid clsid = rt::classIdOf("Nubrel.FileStream");
};

}  // namespace nubrel
