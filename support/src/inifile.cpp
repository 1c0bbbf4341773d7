#include "inifile.h"

#include "readlimits.h"
#include "rt/error.h"
#include "rt/text.h"
#include "wholefile.h"

namespace jespin::ini {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::u16string_view trim(std::u16string_view s) {
  size_t b = s.find_first_not_of(u" \t");
  if (b == std::u16string_view::npos) return {};
  size_t e = s.find_last_not_of(u" \t");
  return s.substr(b, e - b + 1);
}

// What one line of the file is.
struct Entry {
  enum Kind { Blank, Comment, Section, Key } kind = Blank;
  std::u16string name;   // section or key, trimmed
  std::u16string value;  // trimmed, quotes kept
  bool hasValue = false; // the line has "="
};

Entry parseLine(std::string_view raw) {
  std::u16string text = rt::fromAnsi(raw);
  std::u16string_view t = trim(text);
  Entry e;
  if (t.empty()) return e;
  if (t[0] == u';') {
    e.kind = Entry::Comment;
    return e;
  }
  if (t[0] == u'[') {
    size_t close = t.find(u']');
    if (close != std::u16string_view::npos) {
      e.kind = Entry::Section;
      e.name = trim(t.substr(1, close - 1));
      return e;
    }
  }
  e.kind = Entry::Key;
  size_t eq = t.find(u'=');
  e.name = trim(t.substr(0, eq));
  if (eq != std::u16string_view::npos) {
    e.hasValue = true;
    e.value = trim(t.substr(eq + 1));
  }
  return e;
}

// A profile file as lines of code-page bytes, without their line ends.
struct Document {
  bool utf8Mark = false;
  std::vector<std::string> lines;

  void load(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) {
      utf8Mark = true;
      bytes.remove_prefix(kUtf8Mark.size());
    }
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] != '\r' && bytes[i] != '\n') continue;
      lines.emplace_back(bytes.substr(start, i - start));
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      start = i + 1;
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  }

  std::string save() const {
    std::string out;
    if (utf8Mark) out += kUtf8Mark;
    for (const std::string& l : lines) {
      out += l;
      out += "\r\n";
    }
    return out;
  }

  // Line index of the first header of `section`, or npos.
  size_t findSection(std::u16string_view section) const {
    std::u16string_view name = trim(section);
    for (size_t i = 0; i < lines.size(); ++i) {
      Entry e = parseLine(lines[i]);
      if (e.kind == Entry::Section && rt::equalsNoCase(e.name, name)) return i;
    }
    return std::string::npos;
  }

  // The lines of the section whose header is at `header`: [header + 1, end).
  size_t sectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines.size() && parseLine(lines[i]).kind != Entry::Section) ++i;
    return i;
  }
};

enum class Loaded { Ok, Missing, Failed };

Loaded loadDocument(const std::string& file, Document& doc) {
  std::string bytes;
  switch (readWholeFile(file, bytes, kMaxProfileBytes)) {
    case ReadResult::Missing: return Loaded::Missing;
    case ReadResult::Failed: return Loaded::Failed;
    case ReadResult::TooLarge:
      rt::raise(rt::err::OutOfMemory, u"配置文件[" + rt::fromUtf8(file) + u"]超过 " +
                                          rt::ascii(std::to_string(kMaxProfileBytes)) + u" 字节");
    case ReadResult::Ok: break;
  }
  doc.load(bytes);
  return Loaded::Ok;
}

// The key's entry, when file, section and key exist.
std::optional<Entry> findKey(const std::string& file, std::u16string_view section,
                             std::u16string_view key) {
  Document doc;
  if (loadDocument(file, doc) != Loaded::Ok) return std::nullopt;
  size_t header = doc.findSection(section);
  if (header == std::string::npos) return std::nullopt;
  std::u16string_view name = trim(key);
  for (size_t i = header + 1, end = doc.sectionEnd(header); i < end; ++i) {
    Entry e = parseLine(doc.lines[i]);
    if (e.kind == Entry::Key && rt::equalsNoCase(e.name, name)) return e;
  }
  return std::nullopt;
}

std::u16string unquote(std::u16string_view v) {
  if (v.size() >= 2 && (v[0] == u'"' || v[0] == u'\'') && v.back() == v[0])
    v = v.substr(1, v.size() - 2);
  return std::u16string(v);
}

// The longest prefix of `bytes` of at most `limit` bytes that ends on a
// character boundary of the code page.
size_t characterCut(std::string_view bytes, size_t limit) {
  if (limit >= bytes.size()) return bytes.size();
  if (rt::codePage() == rt::CodePage::Utf8) {
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) --cut;
    return cut;
  }
  // CP936: a byte from 0x81 leads a two-byte character.
  size_t i = 0;
  while (i < bytes.size()) {
    size_t step = static_cast<unsigned char>(bytes[i]) >= 0x81 ? 2 : 1;
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

bool holdsLineEnd(std::u16string_view s) { return s.find_first_of(u"\r\n") != std::u16string_view::npos; }

bool isBadName(std::u16string_view s) {
  return s.find_first_of(u"\r\n]=") != std::u16string_view::npos;
}

}  // namespace

std::u16string fitBuffer(std::u16string_view s, size_t size) {
  if (size == 0) return {};
  const size_t limit = size - 1;
  if (s.size() * 3 <= limit) return std::u16string(s);  // no character takes more
  std::string bytes = rt::toAnsi(s);
  if (bytes.size() <= limit) return std::u16string(s);
  return rt::fromAnsi(std::string_view(bytes).substr(0, characterCut(bytes, limit)));
}

std::optional<std::u16string> readString(const std::string& file, std::u16string_view section,
                                         std::u16string_view key, size_t size) {
  std::optional<Entry> e = findKey(file, section, key);
  if (!e) return std::nullopt;
  return fitBuffer(unquote(e->value), size);
}

int32_t readInt(const std::string& file, std::u16string_view section, std::u16string_view key,
                int32_t def) {
  std::optional<Entry> e = findKey(file, section, key);
  if (!e) return def;
  std::u16string v = unquote(e->value);
  if (v.empty()) return def;
  size_t i = 0;
  bool negative = false;
  if (v[0] == u'-' || v[0] == u'+') {
    negative = v[0] == u'-';
    ++i;
  }
  // Unsigned arithmetic: a number beyond 32 bits wraps as the platform's does.
  uint32_t n = 0;
  for (; i < v.size() && v[i] >= u'0' && v[i] <= u'9'; ++i) n = n * 10 + (v[i] - u'0');
  if (negative) n = 0u - n;
  return static_cast<int32_t>(n);
}

std::vector<std::u16string> readSection(const std::string& file, std::u16string_view section,
                                        size_t size) {
  std::vector<std::u16string> out;
  Document doc;
  if (size < 2 || loadDocument(file, doc) != Loaded::Ok) return out;
  size_t header = doc.findSection(section);
  if (header == std::string::npos) return out;
  size_t room = size - 1;  // the final zero
  for (size_t i = header + 1, end = doc.sectionEnd(header); i < end && room > 1; ++i) {
    Entry e = parseLine(doc.lines[i]);
    if (e.kind != Entry::Key) continue;
    std::u16string line = e.hasValue ? e.name + u"=" + e.value : e.name;
    std::u16string fitted = fitBuffer(line, room);
    room -= rt::toAnsi(fitted).size() + 1;
    bool whole = fitted.size() == line.size();
    out.push_back(std::move(fitted));
    if (!whole) break;
  }
  return out;
}

WriteResult writeString(const std::string& file, std::u16string_view section,
                        std::u16string_view key, std::u16string_view value) {
  std::u16string_view sec = trim(section), name = trim(key);
  if (isBadName(sec) || isBadName(name) || name.starts_with(u';')) return WriteResult::BadName;
  if (holdsLineEnd(value)) return WriteResult::BadValue;

  Document doc;
  if (loadDocument(file, doc) == Loaded::Failed) return WriteResult::Failed;
  std::u16string keyLine(name);
  keyLine += u'=';
  keyLine += value;
  std::string newLine = rt::toAnsi(keyLine);

  size_t header = doc.findSection(sec);
  if (header == std::string::npos) {
    if (!doc.lines.empty() && parseLine(doc.lines.back()).kind != Entry::Blank)
      doc.lines.emplace_back();
    doc.lines.push_back(rt::toAnsi(u"[" + std::u16string(sec) + u"]"));
    doc.lines.push_back(std::move(newLine));
  } else {
    size_t end = doc.sectionEnd(header);
    size_t insertAt = header + 1;  // after the section's last non-blank line
    bool replaced = false;
    for (size_t i = header + 1; i < end; ++i) {
      Entry e = parseLine(doc.lines[i]);
      if (e.kind == Entry::Key && rt::equalsNoCase(e.name, name)) {
        doc.lines[i] = std::move(newLine);
        replaced = true;
        break;
      }
      if (e.kind != Entry::Blank) insertAt = i + 1;
    }
    if (!replaced) doc.lines.insert(doc.lines.begin() + static_cast<ptrdiff_t>(insertAt), std::move(newLine));
  }
  return replaceFile(file, doc.save()) ? WriteResult::Ok : WriteResult::Failed;
}

}  // namespace jespin::ini
