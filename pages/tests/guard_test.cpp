// Pages that would write over what a run reads or writes, or run from a
// compiled page that is not whole: nothing is changed, nothing half made
// runs, and the failure is reported.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "nubrel/filestreams.h"
#include "pagetest.h"
#include "rt/text.h"

namespace {

namespace fs = std::filesystem;
using halvorn::QIF_Error;
using halvorn::QIF_UserInfo;
using pagetest::PageTest;

class Guard : public PageTest {
 public:
  // For the set-up of each case.
  using PageTest::dir;
  using PageTest::write;

  // A compiled page cut short by `bytes`, newer than its page as a copy is.
  void cut(const std::string& file, int bytes) {
    fs::resize_file(dir.at(file), fs::file_size(dir.at(file)) - bytes);
    fs::last_write_time(dir.at(file), fs::last_write_time(dir.at("p.page")) + std::chrono::seconds(1));
  }
  // A whole object stream that holds no compiled page (a pack, say).
  void otherStream(const std::string& file) {
    rt::Ref<nubrel::IStreamFile> s = rt::queryRef<nubrel::IStreamFile>(
        rt::createInstance(nubrel::IBinFileStream::clsid).get());
    ASSERT_TRUE(s->openStream(name(file), nubrel::OutStream));
    // As a pack begins: what reads as a line record, then one that reads
    // as the end, then more.
    s->setVLong(1);
    s->setVLong(0);
    s->setVLong(0);
    s->setVLong(0);
    s->setVLong(-1);
    s->setVString(u"not a page");
    ASSERT_TRUE(s->closeStream());
  }
};

struct Case {
  const char* what;
  // Made after p.page (and inc.page) are written and run once into first.txt.
  std::function<void(Guard&)> setUp;
  const char* out;
  bool reported;            // a QIF_Error, or a failure in the error record
  std::string wantOut;      // what the output file holds afterwards ("-": none)
  const char* notice = "";  // the start of a QIF_UserInfo text
  const char* other = "";   // another file written, and what it holds
  const char* otherText = "";
};

const char* const kPage =
    "top\n<!--#INCLUDE file=\"inc.page\"-->\n<!! If curPage.PushFile(pushTo) Then OutLine \"pushed\" !!>\nend\n";

TEST_F(Guard, HostilePagesChangeNothing) {
  auto pushTo = [](const char* file) {
    return [file](Guard& g) { g.write("p.page", "<!! pushTo = \"" + std::string(file) + "\" !!>\n" + kPage); };
  };
  // What the page writes when PushFile is refused (the refusal is reported:
  // nothing), and when it is not.
  const std::string refused = "";
  const std::string whole = "\r\ntop\r\nin inc\r\n";
  const std::vector<Case> cases = {
      {"output onto the page", {}, "p.page", true, "-"},
      {"output onto its compiled form", {}, "p.page.bin", true, "-"},
      {"output onto a hard link of the page",
       [](Guard& g) { fs::create_hard_link(g.dir.at("p.page"), g.dir.at("hard.txt")); }, "hard.txt", true, "-"},
      {"output onto a symbolic link to the page",
       [](Guard& g) { fs::create_symlink(g.dir.at("p.page"), g.dir.at("soft.txt")); }, "soft.txt", true, "-"},
      {"output onto an include read later", {}, "inc.page", true, "-"},
      {"PushFile onto the page", pushTo("p.page"), "o.txt", true, refused},
      {"PushFile onto an include read", pushTo("inc.page"), "o.txt", true, refused},
      {"PushFile onto its own output", pushTo("o.txt"), "o.txt", true, refused},
      {"PushFile again onto a file popped",
       [](Guard& g) {
         g.write("p.page",
                 "<!! For i = 1 To 2 : If curPage.PushFile(\"twice.txt\") Then OutLine i : curPage.PopFile !!>\n"
                 "<!! Next !!>\n");
       },
       "o.txt", false, "\r\n\r\n\r\n", "", "twice.txt", "2\r\n"},
      {"a pushed file an include read: neither it nor the output is put in place",
       [](Guard& g) {
         g.write("p.page", "<!! curPage.PushFile \"inc.page\" !!>\nnot kept\n<!--#INCLUDE file=\"inc.page\"-->\n");
       },
       "o.txt", true, ""},
      {"a child page writing to its parent's output",
       [](Guard& g) {
         g.write("child.page", "from the child\n");
         g.write("p.page", "top\n<!! Set n = curPage.NewPage() : n.InfoOn : n.OutPage \"o.txt\", \"child.page\" !!>\nend\n");
       },
       "o.txt", true, ""},
      {"a compiled page cut short is compiled again", [](Guard& g) { g.cut("p.page.bin", 10); }, "o.txt", false,
       whole, "预编译文件["},
      {"an object stream that is no compiled page is compiled again",
       [](Guard& g) { g.otherStream("p.page.bin"); }, "o.txt", false, whole, "预编译文件["},
      {"a cut compiled page without its page runs nothing",
       [](Guard& g) {
         g.cut("p.page.bin", 10);
         fs::remove(g.dir.at("p.page"));
       },
       "o.txt", true, ""},
      {"a compiled include cut short is compiled again", [](Guard& g) { g.cut("inc.page.bin", 3); }, "o.txt",
       false, whole, "预编译文件["},
      {"a compiled page that is a link to another file",
       [](Guard& g) {
         g.write("elsewhere.txt", "kept\n");
         fs::remove(g.dir.at("p.page.bin"));
         fs::create_symlink(g.dir.at("elsewhere.txt"), g.dir.at("p.page.bin"));
       },
       "o.txt", false, whole, "预编译文件["},
      {"a text line of a million double quotes",
       [](Guard& g) { g.write("p.page", "top\n" + std::string(1000000, '"') + "\n"); }, "o.txt", true, "-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const fs::directory_entry& e : fs::directory_iterator(dir.path())) fs::remove_all(e.path());
    page = rt::make<halvorn::SPage>();
    page->advise(info);
    page->setIsShowInfo(true);
    write("inc.page", "in inc\n");
    write("p.page", std::string("<!! pushTo = \"pushed.txt\" !!>\n") + kPage);
    ASSERT_TRUE(run("first.txt", "p.page")) << rt::toUtf8(page->errString());
    if (c.setUp) c.setUp(*this);
    std::vector<std::pair<std::string, std::string>> before;
    for (const char* f : {"p.page", "inc.page", "child.page", "elsewhere.txt"})
      if (dir.exists(f)) before.emplace_back(f, read(f));
    info->calls.clear();
    run(c.out, "p.page");
    const bool reported = !info->texts(QIF_Error).empty() || page->error().haveErr();
    EXPECT_EQ(reported, c.reported) << rt::toUtf8(page->errString()) << rt::toUtf8(page->error().description());
    for (const auto& [file, bytes] : before) EXPECT_EQ(read(file), bytes) << file;
    if (c.wantOut != "-") {
      EXPECT_EQ(read(c.out), c.wantOut);
    }
    // A run that reports an error writes no output.
    if (c.reported && c.wantOut.empty()) {
      EXPECT_FALSE(dir.exists(c.out));
    }
    if (*c.other) {
      EXPECT_EQ(read(c.other), c.otherText);
    }
    std::vector<std::u16string> notices = info->texts(QIF_UserInfo);
    if (*c.notice) {
      ASSERT_EQ(notices.size(), 1u);
      EXPECT_TRUE(notices[0].starts_with(rt::fromUtf8(c.notice)));
    } else {
      EXPECT_TRUE(notices.empty());
    }
    EXPECT_FALSE(fs::is_symlink(dir.at("p.page.bin")));
    // The page and its compiled form still run (a page that fails to compile
    // has none), and nothing was left behind.
    if (dir.exists("p.page") && dir.exists("p.page.bin")) {
      EXPECT_TRUE(run("last.txt", "p.page"));
      EXPECT_FALSE(page->error().haveErr()) << rt::toUtf8(page->error().description());
    }
    EXPECT_EQ(temporaries(), std::vector<std::string>());
  }
}

}  // namespace
