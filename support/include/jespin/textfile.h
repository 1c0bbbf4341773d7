// Line-by-line text files, as other libraries see them.
//
// `TextFile` reads, writes or appends text in the system code page; lines
// read end at CR LF, CR or LF, lines written end with CR LF.  `UnicodeFile`
// reads UTF-16 little-endian files that begin with the mark FF FE; its
// writing members do nothing.  Both answer ITextFile.
#pragma once

#include <string>
#include <string_view>

#include "rt/activation.h"
#include "rt/object.h"

namespace jespin {

class ITextFile : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.ITextFile");
  static constexpr rt::Guid clsid = rt::classIdOf("Jespin.TextFile");

  // Each open closes the file open before.  False when `fn` cannot be
  // opened; nothing is open then.  OpenWrit creates or empties the file,
  // OpenAppend creates it or writes on at its end.
  virtual bool openWrit(std::u16string_view fn) = 0;
  virtual bool openAppend(std::u16string_view fn) = 0;
  virtual bool openRead(std::u16string_view fn) = 0;
  virtual void closeFile() = 0;
  // The next line without its end.  Raises 52 with no file open, 54 on a
  // file open for writing, 62 past the end, and 14 for a line of more than
  // 64 MB (TextFile, in code-page bytes) or 32 M characters (UnicodeFile);
  // the next read goes on after what was read.
  virtual std::u16string line() = 0;
  // Writes `s` and CR LF.  Raises 52 with no file open, 54 on a file open
  // for reading.
  virtual void setLine(std::u16string_view s) = 0;
  // No more data to read.  Raises 52 with no file open.
  virtual bool isEOF() = 0;
};

// The UTF-16 reader's own identity; it answers ITextFile as well.
class IUnicodeFile : public ITextFile {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.IUnicodeFile");
  static constexpr rt::Guid clsid = rt::classIdOf("Jespin.UnicodeFile");
};

}  // namespace jespin
