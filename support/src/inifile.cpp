#include "inifile.h"

#include "inidoc.h"
#include "readlimits.h"
#include "rt/error.h"
#include "rt/text.h"
#include "wholefile.h"

namespace jespin::ini {

namespace {

// The key's entry, when file, section and key exist.
std::optional<Entry> findKey(const std::string& file, std::u16string_view section,
                             std::u16string_view key) {
  Loaded loaded = loadDocument(file);
  if (loaded.status != LoadStatus::Ok) return std::nullopt;
  const Document& doc = *loaded.doc;
  size_t header = doc.findSection(section);
  if (header == std::string::npos) return std::nullopt;
  std::u16string_view name = trim(key);
  for (size_t i = header + 1, end = doc.sectionEnd(header); i < end; ++i) {
    const Entry& e = doc.entry(i);
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
  if (size < 2) return out;
  Loaded loaded = loadDocument(file);
  if (loaded.status != LoadStatus::Ok) return out;
  const Document& doc = *loaded.doc;
  size_t header = doc.findSection(section);
  if (header == std::string::npos) return out;
  size_t room = size - 1;  // the final zero
  for (size_t i = header + 1, end = doc.sectionEnd(header); i < end && room > 1; ++i) {
    const Entry& e = doc.entry(i);
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

  Loaded loaded = loadDocument(file);
  if (loaded.status == LoadStatus::Failed) return WriteResult::Failed;
  // The file is changed in a copy of what was read, and written back in the
  // encoding it was read in.
  Document doc = loaded.doc ? *loaded.doc : Document();
  std::u16string keyLine(name);
  keyLine += u'=';
  keyLine += value;

  size_t header = doc.findSection(sec);
  if (header == std::string::npos) {
    if (doc.size() > 0 && doc.entry(doc.size() - 1).kind != Entry::Blank) doc.appendLine(u"");
    doc.appendLine(u"[" + std::u16string(sec) + u"]");
    doc.appendLine(keyLine);
  } else {
    size_t end = doc.sectionEnd(header);
    size_t insertAt = header + 1;  // after the section's last non-blank line
    bool replaced = false;
    for (size_t i = header + 1; i < end; ++i) {
      const Entry& e = doc.entry(i);
      if (e.kind == Entry::Key && rt::equalsNoCase(e.name, name)) {
        doc.setLine(i, keyLine);
        replaced = true;
        break;
      }
      if (e.kind != Entry::Blank) insertAt = i + 1;
    }
    if (!replaced) doc.insertLine(insertAt, keyLine);
  }
  const std::string bytes = doc.save();
  // Written, the file could never be read again.
  if (bytes.size() > kMaxProfileBytes) return WriteResult::TooLarge;
  return replaceFile(file, bytes) ? WriteResult::Ok : WriteResult::Failed;
}

}  // namespace jespin::ini
