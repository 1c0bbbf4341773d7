#include "testpacks.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>

#include "rt/text.h"

namespace wistel::test {

namespace {

constexpr std::u16string_view kLead = u"程序运行时出现以下错误，如一直不能解决，请与开发者联系：\r\n\r\n";

rt::LocalTime midnight2000() {
  rt::LocalTime t;
  t.parts = rt::DateParts{2000, 1, 1, 0, 0, 0, 7};
  return t;
}

}  // namespace

std::string hex(std::string_view pairs) {
  std::string out;
  int high = -1;
  for (char c : pairs) {
    int v = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10
          : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (v < 0) continue;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<char>(high * 16 + v));
      high = -1;
    }
  }
  return out;
}

std::string streamHeader() {
  return hex("88 66 66 88 0C 00 00 00") + "ObjectStream" + hex("01 00 00 00");
}

std::string longBytes(int32_t v) {
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[static_cast<size_t>(i)] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
  return b;
}

std::string stringBytes(std::string_view utf8, int32_t units) {
  return longBytes(units) + std::string(utf8);
}

std::string packHeader(int32_t blk, int32_t flag) {
  return streamHeader() + longBytes(1) + stringBytes("C", 1) + stringBytes("D", 1) + longBytes(flag) +
         hex("00 00 00 00 C0 D5 E1 40") + longBytes(blk);
}

std::string packString(std::string_view utf8) {
  return stringBytes(utf8, static_cast<int32_t>(rt::fromUtf8(utf8).size()));
}

std::string noonDate() { return hex("00 00 00 00 D0 D5 E1 40"); }

std::string fileRecord(std::string_view name, std::string_view content) {
  std::string r = packString(name) + longBytes(32) + noonDate();
  if (content.empty()) return r + longBytes(0);
  return r + longBytes(1) + longBytes(0) + longBytes(static_cast<int32_t>(content.size()) - 1) +
         std::string(content);
}

std::string folderBody(const std::vector<std::string>& files, const std::vector<std::string>& folders) {
  std::string b = longBytes(static_cast<int32_t>(files.size())) + longBytes(static_cast<int32_t>(folders.size()));
  for (const auto& f : files) b += f;
  for (const auto& f : folders) b += f;
  return b;
}

std::string folderRecord(std::string_view name, const std::string& inner) { return packString(name) + inner; }

std::string amplificationPack(int depth, size_t nameLength, int records) {
  std::string pack = packHeader();
  std::string name(nameLength, 'n');
  for (int i = 0; i < depth; ++i) pack += longBytes(0) + longBytes(1) + packString(name);
  pack += longBytes(1) + longBytes(records) + fileRecord("f", "x");
  std::string clash = folderRecord("f", folderBody({}));
  for (int i = 0; i < records; ++i) pack += clash;
  return pack;
}

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> namesUnder(const fs::path& dir, bool wholeTree) {
  std::vector<std::string> names;
  auto add = [&](const fs::directory_entry& e) {
    names.push_back(e.path().string().substr(dir.string().size() + 1));
  };
  if (wholeTree)
    for (const auto& e : fs::recursive_directory_iterator(dir)) add(e);
  else
    for (const auto& e : fs::directory_iterator(dir)) add(e);
  std::sort(names.begin(), names.end());
  return names;
}

void writeFile(const fs::path& p, std::string_view bytes) {
  std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void setTime(const fs::path& p, std::time_t t) {
  struct timespec times[2] = {{t, 0}, {t, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << p;
}

std::u16string errorBox(std::u16string_view message) {
  return std::u16string(kLead) + std::u16string(message);
}

PackerTest::PackerTest() : clock_(midnight2000()) {
  if (const char* tz = std::getenv("TZ")) {
    hadTz_ = true;
    savedTz_ = tz;
  }
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  rt::setCodePage(rt::CodePage::Utf8);
  std::string tmpl = (fs::temp_directory_path() / "wistel-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  root_ = tmpl;
}

PackerTest::~PackerTest() {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root_, ec); it != fs::recursive_directory_iterator();
       it.increment(ec))
    if (!it->is_symlink(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(root_, ec);
  if (hadTz_)
    ::setenv("TZ", savedTz_.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
}

std::u16string PackerTest::u(const std::string& rel) const { return rt::fromUtf8(at(rel).string()); }

rt::Ref<FilePack> PackerTest::newPack() {
  auto p = rt::make<FilePack>();
  p->info()->setCopyright(u"C");
  p->info()->setDescription(u"D");
  return p;
}

std::vector<std::u16string> PackerTest::errors() const {
  std::vector<std::u16string> out;
  for (const RecordingUiHost::Box& b : ui_->boxes)
    if (b.style == (rt::mb::Critical | rt::mb::OkOnly) && b.title == u"Wistel 运行错误" &&
        b.prompt.starts_with(kLead))
      out.push_back(b.prompt.substr(kLead.size()));
  return out;
}

}  // namespace wistel::test
