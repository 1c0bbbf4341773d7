// Compiled streams on the first-edition host: records run as they are
// read, and a stream cut short or holding a record of no known kind ends
// the run with an error at once instead of reading on for ever.
#include "builtins/svuserfun.h"
#include "core/records.h"
#include "hostfixture.h"
#include "nubrel/memstream.h"

namespace dovreltest {
namespace {

// Writes the records of a compiled stream.
class StreamWriter {
 public:
  StreamWriter()
      : ms_(rt::queryRef<nubrel::IMemStream>(rt::createInstance(nubrel::IMemStream::clsid).get())) {
    ms_->init(nubrel::OutStream);
  }

  StreamWriter& line(std::u16string_view text, int32_t number) {
    rt::Ref<engine::ExpItems> items = rt::make<engine::ExpItems>();
    items->sptModeLine = number;
    items->init(text);
    ms_->setVLong(engine::RecordLine);
    items->writeStream(*ms_);
    return *this;
  }
  StreamWriter& directive(std::u16string_view text) {
    ms_->setVLong(engine::RecordDirective);
    ms_->setVString(text);
    return *this;
  }
  StreamWriter& function(std::initializer_list<std::u16string_view> lines) {
    rt::Ref<engine::SvUserFun> f = rt::make<engine::SvUserFun>();
    for (std::u16string_view text : lines) {
      rt::Ref<engine::ExpItems> items = rt::make<engine::ExpItems>();
      items->init(text);
      f->addLine(*items);
    }
    ms_->setVLong(engine::RecordFunction);
    f->writeStream(*ms_);
    return *this;
  }
  StreamWriter& function(engine::SvUserFun& f) {
    ms_->setVLong(engine::RecordFunction);
    f.writeStream(*ms_);
    return *this;
  }
  StreamWriter& kind(int32_t k) {
    ms_->setVLong(k);
    return *this;
  }
  std::u16string text() { return ms_->strBuffer(); }
  // The stream to read: all that was written, or its first `units`.
  nubrel::IMemStream& reading(size_t units = std::u16string::npos) {
    ms_->setStrBuffer(ms_->strBuffer().substr(0, units));
    return *ms_;
  }

 private:
  rt::Ref<nubrel::IMemStream> ms_;
};

TEST_F(HostTest, StreamRecordsRunAsTheyAreRead) {
  StreamWriter w;
  w.line(u"OutLine \"first\"", 1)
      .directive(u"define TWO = 2")
      .function({u"Function Twice(n)", u"Twice = n * TWO", u"End Function"})
      .line(u"For i = 1 To 2", 5)
      .line(u"OutLine Twice(i)", 6)
      .line(u"Next", 7)
      .kind(engine::RecordEnd);
  host->execStream(w.reading());
  EXPECT_FALSE(host->error().haveErr()) << description();
  EXPECT_EQ(out(), "first\n2\n4\n");
  EXPECT_EQ(host->lineNumber(), 7);
}

// A function writes its lines as read, before and after it has run, and a
// host runs what it wrote.
TEST_F(HostTest, AFunctionThatRanWritesItsLines) {
  run({u"Function Twice(n)", u"If n > 0 Then", u"Twice = n * 2", u"End If", u"End Function"});
  auto* f = dynamic_cast<engine::SvUserFun*>(host->sSpace()->value(u"Twice").get());
  ASSERT_TRUE(f);
  StreamWriter before, after;
  before.function(*f);
  run({u"OutLine Twice(4)"});
  after.function(*f).line(u"OutLine Twice(5)", 1).kind(engine::RecordEnd);
  EXPECT_EQ(after.text().substr(0, before.text().size()), before.text());
  host->refreshSSP();  // the function is bound nowhere now
  host->execStream(after.reading());
  EXPECT_FALSE(host->error().haveErr()) << description();
  EXPECT_EQ(out(), "8\n10\n");
}

TEST_F(HostTest, AFailingRecordStopsTheStream) {
  StreamWriter w;
  w.line(u"OutLine 1", 1).line(u"x = 1 / 0", 2).line(u"OutLine 3", 3).kind(engine::RecordEnd);
  host->execStream(w.reading());
  EXPECT_EQ(errNumber(), 11);
  EXPECT_EQ(utf8(host->error().source()).rfind("Dovrel.ScriptHost.ExecStream\r\n", 0), 0u);
  EXPECT_EQ(out(), "1\n");
  // An unknown directive is raised to the caller.
  StreamWriter d;
  d.directive(u"pragma").kind(engine::RecordEnd);
  EXPECT_THROW(host->execStream(d.reading()), rt::RuntimeError);
}

TEST_F(HostTest, SpoiltStreamsEndTheRun) {
  StreamWriter first;
  first.line(u"OutLine \"ran\"", 1);
  const size_t cut = first.text().size();
  first.line(u"OutLine \"never\"", 2).kind(engine::RecordEnd);
  struct Case {
    const char* what;
    nubrel::IMemStream* stream;
    int32_t number;
  };
  StreamWriter unknown;
  unknown.line(u"OutLine \"ran\"", 1).kind(3).line(u"OutLine \"never\"", 2).kind(engine::RecordEnd);
  StreamWriter noEnd;
  noEnd.line(u"OutLine \"ran\"", 1);
  const Case cases[] = {
      {"cut after its first record", &first.reading(cut), 62},
      {"a record of kind 3", &unknown.reading(), 321},
      {"no end record", &noEnd.reading(), 62},
  };
  for (const Case& c : cases) {
    host->execStream(*c.stream);
    EXPECT_EQ(errNumber(), c.number) << c.what;
    EXPECT_EQ(out(), "ran\n") << c.what;
  }
}

}  // namespace
}  // namespace dovreltest
