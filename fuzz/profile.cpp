// The profile reader and its INI engine on any file.  The harness asks for
// the sections and keys the file names (in every form a key path takes),
// walks each section, and last writes a key, which must then read back.
#include "jespin/profile.h"

#include <string>
#include <vector>

#include "fileinput.h"
#include "targets.h"

namespace fuzz {

namespace {

// Enough names for every rule, few enough for fast runs.
constexpr size_t kMaxSections = 8;
constexpr size_t kMaxKeys = 8;
// Items a section may list: its buffer holds 10240 bytes, a zero after each.
constexpr int kMaxItems = 10240;

struct Section {
  std::u16string name;
  std::vector<std::u16string> keys;
};

std::u16string_view trim(std::u16string_view s) {
  size_t b = s.find_first_not_of(u" \t");
  if (b == std::u16string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(u" \t") - b + 1);
}

// The text of a file, read roughly as the reader does: UTF-16 after its
// mark in either byte order, UTF-8 after its, else the code page.
std::u16string textOf(std::string_view file) {
  const bool le = file.starts_with("\xFF\xFE"), be = file.starts_with("\xFE\xFF");
  if (!le && !be) return file.starts_with("\xEF\xBB\xBF") ? rt::fromUtf8(file.substr(3)) : rt::fromAnsi(file);
  std::u16string text;
  for (size_t i = 2; i + 1 < file.size(); i += 2) {
    const auto a = static_cast<unsigned char>(file[i]), b = static_cast<unsigned char>(file[i + 1]);
    text.push_back(static_cast<char16_t>(le ? a | b << 8 : b | a << 8));
  }
  return text;
}

// The sections and keys the file names, read roughly as the reader does.
std::vector<Section> namesIn(std::string_view file) {
  std::vector<Section> sections(1, Section{u"Values", {}});
  std::u16string text = textOf(file);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string_view line = trim(std::u16string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.starts_with(u'[') && line.find(u']') != std::u16string_view::npos) {
      if (sections.size() == kMaxSections) break;
      sections.push_back({std::u16string(trim(line.substr(1, line.find(u']') - 1))), {}});
    } else if (!line.empty() && line[0] != u';' && sections.back().keys.size() < kMaxKeys) {
      sections.back().keys.emplace_back(trim(line.substr(0, line.find(u'='))));
    }
  }
  return sections;
}

void readEverything(jespin::IProFile& p, const std::vector<Section>& sections) {
  const std::vector<std::u16string>* profiles = nullptr;
  for (const Section& s : sections)
    if (rt::equalsNoCase(s.name, u"ProFiles")) profiles = &s.keys;

  for (const Section& s : sections) {
    int items = 0;
    for (std::u16string item = p.firstValue(s.name); !item.empty(); item = p.nextValue())
      check(++items <= kMaxItems, "a section lists more items than its buffer holds");
    for (const std::u16string& k : s.keys) {
      p.getValue(s.name, k);
      p.getInt(s.name, k, 7);
      p.value(k);
      p.value(k + u"." + s.name);
      if (profiles && !profiles->empty()) p.value(k + u"." + s.name + u"." + profiles->front());
    }
  }
}

}  // namespace

void profile(const uint8_t* data, size_t size) {
  prepare();
  FileInput in = splitFileInput(data, size);
  CodePageScope cp(in.cp936);
  std::u16string path = writeTempFile("fuzz.ini", in.file);
  std::vector<Section> sections = namesIn(in.file);

  auto p = newObject<jespin::IProFile>(u"Jespin.ProFile");
  check(p->init(path), "a profile in an existing folder does not open");
  readEverything(*p, sections);
  // A second object reads the substitution settings afresh.
  if (auto again = p->newProf()) readEverything(*again, sections);

  // Writes go to this file only (never through a sub-profile the file names).
  // A name the code page cannot hold is written as another name.
  auto survives = [](const std::u16string& s) { return rt::fromAnsi(rt::toAnsi(s)) == s; };
  for (const Section& s : sections) {
    if (s.keys.empty()) continue;
    const std::u16string& key = s.keys.front();
    p->setValue(s.name, key, u"written");
    if (!p->error()->haveErr() && survives(s.name) && survives(key))
      check(p->getValue(s.name, key) == u"written", "a written key does not read back");
    break;
  }
  p->setValue(u"Fuzz", u"new", u"1");
  if (!p->error()->haveErr())
    check(p->getInt(u"Fuzz", u"new", 0) == 1, "a new key does not read back");
}

}  // namespace fuzz
