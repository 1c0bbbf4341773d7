// A profile file in memory: its lines, each kept as the bytes it had and as
// what it is (a section header, a key, a comment), in the encoding the file
// was read in, which is also the one it is written back in.  Loaded files
// are kept parsed while their size and time of change stay the same.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace jespin::ini {

// What one line of the file is.
struct Entry {
  enum Kind { Blank, Comment, Section, Key } kind = Blank;
  std::u16string name;    // section or key, trimmed
  std::u16string value;   // trimmed, quotes kept
  bool hasValue = false;  // the line has "="
};

// How a file's text is stored: the system code page, UTF-8 after its byte
// order mark, or UTF-16 after its mark in either byte order.
enum class Encoding { CodePage, Utf8, Utf16Le, Utf16Be };

class Document {
 public:
  // Splits `bytes` into lines (CR LF, CR or LF ends one).  False for a
  // UTF-16 file of an odd number of bytes, which could not be written back
  // whole.
  bool load(std::string_view bytes);
  // The file as written back: its mark, then every line ended by CR LF.
  std::string save() const;

  size_t size() const { return entries_.size(); }
  const Entry& entry(size_t i) const { return entries_[i]; }

  // Line index of the first header of `section` (case-blind), or npos.
  size_t findSection(std::u16string_view section) const;
  // The lines of the section whose header is at `header`: [header + 1, end).
  size_t sectionEnd(size_t header) const;

  void setLine(size_t i, std::u16string_view text);
  void insertLine(size_t i, std::u16string_view text);
  void appendLine(std::u16string_view text) { insertLine(entries_.size(), text); }

 private:
  std::string encode(std::u16string_view text) const;
  std::u16string decode(std::string_view raw) const;

  Encoding encoding_ = Encoding::CodePage;
  std::vector<std::string> lines_;  // bytes, without the line end
  std::vector<Entry> entries_;
};

Entry parseLine(std::u16string_view text);
std::u16string_view trim(std::u16string_view s);

enum class LoadStatus { Ok, Missing, Failed };
struct Loaded {
  LoadStatus status = LoadStatus::Missing;
  std::shared_ptr<const Document> doc;
};

// The parsed file `file`, read again only when its size, its time of change
// (to the nanosecond) or the file itself changed since it was read last; a
// file changed in the last seconds is read every time, as its stamp could
// stay the same through another change.
// Missing when there is no such file; Failed when it is no regular file or
// cannot be read or decoded.  A file larger than kMaxProfileBytes raises 7.
Loaded loadDocument(const std::string& file);

}  // namespace jespin::ini
