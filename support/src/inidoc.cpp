#include "inidoc.h"

#include <errno.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <mutex>

#include "readlimits.h"
#include "rt/error.h"
#include "rt/text.h"
#include "wholefile.h"

namespace jespin::ini {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

bool utf16(Encoding e) { return e == Encoding::Utf16Le || e == Encoding::Utf16Be; }

std::string_view markOf(Encoding e) {
  switch (e) {
    case Encoding::Utf8: return kUtf8Mark;
    case Encoding::Utf16Le: return kUtf16LeMark;
    case Encoding::Utf16Be: return kUtf16BeMark;
    case Encoding::CodePage: break;
  }
  return {};
}

char16_t unitAt(std::string_view b, size_t i, Encoding e) {
  const auto lo = static_cast<unsigned char>(b[e == Encoding::Utf16Le ? i : i + 1]);
  const auto hi = static_cast<unsigned char>(b[e == Encoding::Utf16Le ? i + 1 : i]);
  return static_cast<char16_t>(lo | hi << 8);
}

// The runtime's name of an encoding.
rt::Encoding runtimeEncoding(Encoding e) {
  switch (e) {
    case Encoding::Utf8: return rt::Encoding::Utf8;
    case Encoding::Utf16Le: return rt::Encoding::Utf16Le;
    case Encoding::Utf16Be: return rt::Encoding::Utf16Be;
    case Encoding::CodePage: break;
  }
  return rt::ansiEncoding();
}

}  // namespace

std::u16string_view trim(std::u16string_view s) {
  size_t b = s.find_first_not_of(u" \t");
  if (b == std::u16string_view::npos) return {};
  size_t e = s.find_last_not_of(u" \t");
  return s.substr(b, e - b + 1);
}

Entry parseLine(std::u16string_view text) {
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

// --- Document ----------------------------------------------------------------

std::u16string Document::decode(std::string_view raw) const { return rt::decode(raw, runtimeEncoding(encoding_)); }

std::string Document::encode(std::u16string_view text) const { return rt::encode(text, runtimeEncoding(encoding_)); }

bool Document::load(std::string_view bytes) {
  encoding_ = Encoding::CodePage;
  for (Encoding e : {Encoding::Utf8, Encoding::Utf16Le, Encoding::Utf16Be})
    if (bytes.starts_with(markOf(e))) encoding_ = e;
  bytes.remove_prefix(markOf(encoding_).size());
  lines_.clear();
  entries_.clear();
  const size_t unit = utf16(encoding_) ? 2 : 1;
  if (bytes.size() % unit != 0) return false;
  auto codeAt = [&](size_t i) -> char16_t {
    return unit == 2 ? unitAt(bytes, i, encoding_) : static_cast<unsigned char>(bytes[i]);
  };
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); i += unit) {
    const char16_t c = codeAt(i);
    if (c != u'\r' && c != u'\n') continue;
    lines_.emplace_back(bytes.substr(start, i - start));
    if (c == u'\r' && i + unit < bytes.size() && codeAt(i + unit) == u'\n') i += unit;
    start = i + unit;
  }
  if (start < bytes.size()) lines_.emplace_back(bytes.substr(start));
  entries_.reserve(lines_.size());
  for (const std::string& l : lines_) entries_.push_back(parseLine(decode(l)));
  return true;
}

std::string Document::save() const {
  std::string out(markOf(encoding_));
  const std::string end = encode(u"\r\n");
  for (const std::string& l : lines_) {
    out += l;
    out += end;
  }
  return out;
}

size_t Document::findSection(std::u16string_view section) const {
  std::u16string_view name = trim(section);
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].kind == Entry::Section && rt::equalsNoCase(entries_[i].name, name)) return i;
  return std::string::npos;
}

size_t Document::sectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < entries_.size() && entries_[i].kind != Entry::Section) ++i;
  return i;
}

void Document::setLine(size_t i, std::u16string_view text) {
  lines_[i] = encode(text);
  entries_[i] = parseLine(text);
}

void Document::insertLine(size_t i, std::u16string_view text) {
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(i), encode(text));
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(i), parseLine(text));
}

// --- Files read before ---------------------------------------------------------

namespace {

// A file as it was when read: the same name with the same of these is the
// same content.
struct Identity {
  dev_t dev;
  ino_t ino;
  off_t size;
  timespec changed;
  bool operator==(const Identity& o) const {
    return dev == o.dev && ino == o.ino && size == o.size && changed.tv_sec == o.changed.tv_sec &&
           changed.tv_nsec == o.changed.tv_nsec;
  }
};

struct Kept {
  std::string file;
  Identity id;
  std::shared_ptr<const Document> doc;
};

// The files read last, the latest first: a program keeps a few profiles.
constexpr size_t kKeptFiles = 8;
// File systems stamp a change with a clock coarser than its nanoseconds: a
// file changed this shortly before it was read could change again with the
// same stamp, so it is not kept.
constexpr time_t kSettledSeconds = 2;

bool settled(const timespec& changed) {
  timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec - changed.tv_sec > kSettledSeconds;
}

std::mutex keptLock;
std::vector<Kept>& kept() {
  static std::vector<Kept> k;
  return k;
}

}  // namespace

Loaded loadDocument(const std::string& file) {
  struct stat st {};
  if (file.empty()) return {};
  if (::stat(file.c_str(), &st) != 0)
    return {errno == ENOENT || errno == ENOTDIR ? LoadStatus::Missing : LoadStatus::Failed, nullptr};
  if (!S_ISREG(st.st_mode)) return {LoadStatus::Failed, nullptr};
  const Identity id{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
  {
    std::lock_guard<std::mutex> lock(keptLock);
    for (const Kept& k : kept())
      if (k.file == file && k.id == id) return {LoadStatus::Ok, k.doc};
  }
  std::string bytes;
  switch (readWholeFile(file, bytes, kMaxProfileBytes)) {
    case ReadResult::Missing: return {LoadStatus::Missing, nullptr};
    case ReadResult::Failed: return {LoadStatus::Failed, nullptr};
    case ReadResult::TooLarge:
      rt::raise(rt::err::OutOfMemory, u"配置文件[" + rt::fromUtf8(file) + u"]超过 " +
                                          rt::ascii(std::to_string(kMaxProfileBytes)) + u" 字节");
    case ReadResult::Ok: break;
  }
  auto doc = std::make_shared<Document>();
  if (!doc->load(bytes)) return {LoadStatus::Failed, nullptr};
  if (!settled(id.changed)) return {LoadStatus::Ok, std::move(doc)};
  std::lock_guard<std::mutex> lock(keptLock);
  std::vector<Kept>& k = kept();
  std::erase_if(k, [&](const Kept& e) { return e.file == file; });
  if (k.size() == kKeptFiles) k.pop_back();
  k.insert(k.begin(), Kept{file, id, doc});
  return {LoadStatus::Ok, std::move(doc)};
}

}  // namespace jespin::ini
