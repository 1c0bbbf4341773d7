#include "listing.h"

#include <string>

#include "names.h"
#include "rt/convert.h"
#include "rt/text.h"

namespace wistelcmd {

namespace {

// Names and texts from the pack as names are shown: no control character
// reaches the terminal.
void print(std::FILE* out, std::u16string_view text) {
  std::string bytes = rt::toUtf8(wistel::shownName(text)) + "\n";
  std::fwrite(bytes.data(), 1, bytes.size(), out);
}

// "2000-01-01 12:00:00" of a stored local date.
std::string dateText(rt::Date d) {
  rt::DateParts p;
  if (!rt::splitSerial(d.serial, p)) return "?";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                p.minute, p.second);
  return buf;
}

}  // namespace

void printHeader(wistel::PackInfo& info, std::FILE* out) {
  std::fprintf(out, "version: %d\n", info.ver());
  print(out, u"copyright: " + info.copyright());
  print(out, u"description: " + info.description());
  std::fprintf(out, "created: %s\n", dateText(info.createTime()).c_str());
  std::fprintf(out, "block size: %d\n", info.blkSize());
  std::fprintf(out, "flags: %d\n", info.flag());
  std::fprintf(out, "password: %s\n", info.hasPassword() ? "set" : "none");
}

std::u16string Listing::pathOf(std::u16string_view name) const {
  std::u16string path;
  for (size_t i = 1; i < folders_.size(); ++i) path += folders_[i] + u"/";
  return path + std::u16string(name);
}

void Listing::enterFolder(std::u16string_view name, int32_t, int32_t, int depth) {
  print(out_, depth == 0 ? u"/" : pathOf(name) + u"/");
  folders_.emplace_back(name);
}

void Listing::beginFile(const wistel::FileRecord& file) {
  file_ = file;
  size_ = 0;
}

void Listing::endFile() {
  std::fprintf(out_, "%12lld  %s  ", static_cast<long long>(size_), dateText(file_.modified).c_str());
  print(out_, pathOf(file_.name));
}

void Listing::leaveFolder() { folders_.pop_back(); }

}  // namespace wistelcmd
