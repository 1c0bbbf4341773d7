#include "pagetest.h"

#include <filesystem>
#include <fstream>
#include <span>

#include "rt/activation.h"
#include "rt/dispatch.h"
#include "rt/text.h"

namespace pagetest {

namespace {

class LineRecorder final : public rt::Automation<LineRecorder> {
 public:
  static const rt::MemberTable<LineRecorder>& members() {
    static const auto table = rt::MemberTable<LineRecorder>(u"Lines").method(
        u"InputLine", [](LineRecorder&, std::u16string text) { recordedLines().push_back(text); });
    return table;
  }
};

}  // namespace

std::vector<std::u16string>& recordedLines() {
  static std::vector<std::u16string> lines;
  return lines;
}

std::vector<int32_t> InfoLog::kinds() const {
  std::vector<int32_t> k;
  for (const auto& c : calls) k.push_back(c.first);
  return k;
}

std::vector<std::u16string> InfoLog::texts(int32_t kind) const {
  std::vector<std::u16string> t;
  for (const auto& c : calls)
    if (c.first == kind) t.push_back(c.second);
  return t;
}

rt::Ref<nubrel::IMemStream> newMemStream() {
  rt::Ref<nubrel::IMemStream> ms =
      rt::queryRef<nubrel::IMemStream>(rt::createInstance(nubrel::IMemStream::clsid).get());
  ms->init(nubrel::OutStream);
  return ms;
}

std::u16string runStream(nubrel::VStream& vs, int32_t* error) {
  rt::Ref<kestrin::IScriptHost> host =
      rt::queryRef<kestrin::IScriptHost>(rt::createInstance(kestrin::IScriptHost::clsid).get());
  rt::Ref<OutputLog> log = rt::make<OutputLog>();
  host->advise(log);
  host->execStream(vs);
  if (error) *error = host->error().number();
  host->freeAll();
  return log->text;
}

PageTest::PageTest() : page(rt::make<halvorn::SPage>()), info(rt::make<InfoLog>()) {
  rt::registerLocalClass(u"PageTest.Lines", rt::classIdOf("PageTest.Lines"),
                         [] { return rt::Ref<rt::Object>(rt::make<LineRecorder>()); });
  recordedLines().clear();
  page->advise(info);
}

PageTest::~PageTest() {
  page = nullptr;
  rt::unregisterLocalClass(u"PageTest.Lines");
}

void PageTest::write(const std::string& file, std::string_view bytes) const {
  namespace fs = std::filesystem;
  fs::create_directories(fs::path(dir.at(file)).parent_path());
  dir.write(file, bytes);
}

bool PageTest::run(const std::string& out, const std::string& p) {
  return page->outPage(name(out), name(p));
}

std::string PageTest::output(std::string_view text) {
  write("p.page", text);
  EXPECT_TRUE(run("out.txt", "p.page"));
  EXPECT_FALSE(page->error().haveErr()) << rt::toUtf8(page->error().description());
  return read("out.txt");
}

std::string PageTest::shown(std::string_view text) {
  write("p.page", text);
  recordedLines().clear();
  EXPECT_TRUE(page->outPage(kRecorder, name("p.page")));
  std::string lines;
  for (const std::u16string& line : recordedLines()) lines += rt::toUtf8(line) + "\r\n";
  return lines;
}

std::vector<std::string> PageTest::temporaries() const {
  std::vector<std::string> found;
  for (const std::filesystem::directory_entry& e : std::filesystem::directory_iterator(dir.path())) {
    const std::string file = e.path().filename().string();
    if (file.find(".tmp") != std::string::npos || file.find(".~") != std::string::npos) found.push_back(file);
  }
  return found;
}

}  // namespace pagetest
