// The text-file readers on any file.  The lines read must be the file's
// lines as the conventions split them (CR LF, CR and LF end a line; a line
// end at the very end starts no further line).
#include <algorithm>
#include <string>
#include <vector>

#include "fileinput.h"
#include "jespin/textfile.h"
#include "jespin/udlfile.h"
#include "rt/error.h"
#include "rt/testing.h"
#include "targets.h"

namespace fuzz {

namespace {

using rt::testing::linesOf;

// Reads every line of an open file.
std::vector<std::u16string> readLines(jespin::ITextFile& f, size_t most) {
  std::vector<std::u16string> lines;
  while (!f.isEOF()) {
    lines.push_back(f.line());
    check(lines.size() <= most, "more lines read than the file holds");
  }
  return lines;
}

}  // namespace

void textFile(const uint8_t* data, size_t size) {
  prepare();
  FileInput in = splitFileInput(data, size);
  CodePageScope cp(in.cp936);
  std::u16string path = writeTempFile("fuzz.txt", in.file);
  auto f = newObject<jespin::ITextFile>(u"Jespin.TextFile");
  check(f->openRead(path), "a text file does not open");

  std::vector<std::u16string> expected;
  for (const std::string& l : linesOf(in.file)) expected.push_back(rt::fromAnsi(l));
  check(readLines(*f, in.file.size() + 1) == expected, "the lines read are not the file's");
  try {
    f->line();
    check(false, "a line read past the end");
  } catch (const rt::RuntimeError& e) {
    check(e.number() == rt::err::PastEndOfFile, "reading past the end is not error 62");
  }
  f->closeFile();
}

// UnicodeFile and UDLFile on the same file: UTF-16LE after FF FE.
void utf16File(const uint8_t* data, size_t size) {
  prepare();
  FileInput in = splitFileInput(data, size);
  std::u16string path = writeTempFile("fuzz.udl", in.file);
  const bool marked = in.file.starts_with("\xFF\xFE");
  std::u16string units((std::max<size_t>(in.file.size(), 2) - 2) / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<uint8_t>(in.file[2 + 2 * i]) |
                                     static_cast<uint8_t>(in.file[3 + 2 * i]) << 8);
  std::vector<std::u16string> lines = linesOf(std::u16string_view(units));

  auto u = newObject<jespin::ITextFile>(u"Jespin.UnicodeFile");
  check(u->openRead(path) == marked, "a UTF-16 file opens without its mark, or not with it");
  if (marked) {
    check(readLines(*u, units.size() + 1) == lines, "the lines read are not the file's");
    check(u->line().empty(), "a line read past the end");
  }
  u->closeFile();

  auto udl = newObject<jespin::IUDLFile>(u"Jespin.UDLFile");
  std::u16string conn = udl->getConnString(path);
  if (conn.empty()) {
    check(!udl->errString().empty(), "no connection string and no reason");
  } else {
    check(marked && conn[0] != u';' && std::find(lines.begin(), lines.end(), conn) != lines.end(),
          "the connection string is no line of the file");
  }
}

}  // namespace fuzz
