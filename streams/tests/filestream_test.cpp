// Opening, closing and replacing files; the memory and event streams' own
// members; the do-nothing classes.
#include "filestream.h"

#include <sys/stat.h>

#include <filesystem>

#include "binfilestream.h"
#include "eventstream.h"
#include "memstream.h"
#include "nullclasses.h"
#include "testsupport.h"
#include "rt/testing.h"

namespace {

using rt::testing::errorOf;

using namespace streamtest;
using nubrel::BinFileStream;
using nubrel::FileStream;
using nubrel::MemStream;

using Files = StreamTest;

TEST_F(Files, OutputReplacesTheWholeOldFile) {
  for (Kind k : {Kind::Binary, Kind::TextFile}) {
    SCOPED_TRACE(nameOf(k));
    writeFile("f", Bytes(1000, 0x5A));
    rt::Ref<nubrel::IStreamFile> s;
    if (k == Kind::Binary)
      s = rt::make<BinFileStream>();
    else
      s = rt::make<FileStream>();
    ASSERT_TRUE(s->openStream(path("f"), nubrel::OutStream));
    s->setVLong(1);
    // Until the stream closes the old file stays whole, the new one beside it.
    EXPECT_EQ(readFile("f"), Bytes(1000, 0x5A));
    EXPECT_EQ(listing().size(), 2u);
    EXPECT_TRUE(s->closeStream());
    EXPECT_EQ(listing(), std::vector<std::string>{"f"});
    EXPECT_EQ(readFile("f").size(), k == Kind::Binary ? 28u : 44u);
    EXPECT_FALSE(s->closeStream());
  }
}

TEST_F(Files, ReleasingOrReopeningSavesTheFile) {
  {
    auto s = rt::make<BinFileStream>();
    ASSERT_TRUE(s->openStream(path("a"), nubrel::OutStream));
    s->setVLong(5);
  }
  EXPECT_EQ(readFile("a").size(), 28u);

  auto s = rt::make<BinFileStream>();
  ASSERT_TRUE(s->openStream(path("b"), nubrel::OutStream));
  s->setVString(u"b");
  ASSERT_TRUE(s->openStream(path("b"), nubrel::InStream)) << rt::toUtf8(s->errInfo());
  EXPECT_EQ(s->vString(), u"b");
  EXPECT_EQ(listing(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(Files, DiscardingKeepsTheOldFileAndLeavesNothingBeside) {
  for (Kind k : {Kind::Binary, Kind::TextFile}) {
    SCOPED_TRACE(nameOf(k));
    writeFile("old", Bytes(10, 0x5A));
    rt::Ref<nubrel::IStreamFile> s;
    if (k == Kind::Binary)
      s = rt::make<BinFileStream>();
    else
      s = rt::make<FileStream>();
    for (const char* name : {"old", "new"}) {
      ASSERT_TRUE(s->openStream(path(name), nubrel::OutStream));
      s->setVString(u"part");
      s->discardStream();
      EXPECT_FALSE(s->closeStream());  // nothing is open any more
      EXPECT_EQ(errorOf([&] { s->setVLong(1); }), rt::err::BadFileName);
    }
    EXPECT_EQ(readFile("old"), Bytes(10, 0x5A));
    EXPECT_EQ(listing(), std::vector<std::string>{"old"});
  }
}

TEST_F(Files, DirectionIsEnforcedAndReportedAsGiven) {
  writeFile("in",
            concat({hex("88 66 66 88 0C 00 00 00"), ascii("ObjectStream"), hex("01 00 00 00")}));
  auto s = rt::make<BinFileStream>();
  EXPECT_EQ(s->dir(), nubrel::OutStream);
  EXPECT_EQ(errorOf([&] { s->vLong(); }), rt::err::BadFileName);
  ASSERT_TRUE(s->openStream(path("in"), static_cast<nubrel::StreamDir>(5)));
  EXPECT_EQ(s->dir(), 5);
  EXPECT_EQ(errorOf([&] { s->setVLong(1); }), rt::err::BadFileMode);
  ASSERT_TRUE(s->openStream(path("out"), nubrel::OutStream));
  EXPECT_EQ(errorOf([&] { s->vLong(); }), rt::err::BadFileMode);
  EXPECT_EQ(errorOf([&] { s->setVBytes(rt::Variant(int32_t{1})); }), rt::err::TypeMismatch);
  EXPECT_EQ(errorOf([&] { s->setVObject(nullptr); }), rt::err::ObjectNotSet);
}

TEST_F(Files, BinaryEndFlagTurnsOnlyPastTheEnd) {
  writeFile("e",
            concat({hex("88 66 66 88 0C 00 00 00"), ascii("ObjectStream"), hex("01 00 00 00 AB")}));
  auto s = rt::make<BinFileStream>();
  ASSERT_TRUE(s->openStream(path("e"), nubrel::InStream));
  EXPECT_EQ(s->vByte(), 0xAB);
  EXPECT_FALSE(s->eof());
  EXPECT_TRUE(s->errInfo().empty());
  EXPECT_EQ(s->vByte(), 0);
  EXPECT_TRUE(s->eof());
  EXPECT_EQ(s->errInfo(), rt::errorText(rt::err::PastEndOfFile));
}

// A file opened kept is read again from the bytes read before, whatever
// the file holds meanwhile, and no further.
TEST_F(Files, AKeptFileIsReadAgainFromTheBytesRead) {
  const Bytes header = concat({hex("88 66 66 88 0C 00 00 00"), ascii("ObjectStream"), hex("01 00 00 00")});
  Bytes body(70000);  // more than one buffer
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<uint8_t>(i % 251);
  writeFile("k", concat({header, body}));
  auto s = rt::make<BinFileStream>();
  ASSERT_TRUE(s->openKept(path("k")));
  auto readsBody = [&] {
    for (size_t i = 0; i < body.size(); ++i)
      if (s->vByte() != body[i]) return false;
    return !s->eof();
  };
  ASSERT_TRUE(readsBody());
  s->vByte();
  EXPECT_TRUE(s->eof());
  writeFile("k", concat({header, Bytes(90000, 0)}));  // changed in place
  ASSERT_TRUE(s->rewind());
  EXPECT_TRUE(s->errInfo().empty());
  EXPECT_TRUE(readsBody());
  s->vByte();
  EXPECT_TRUE(s->eof());

  // Read in part: what was never read is not read after a rewind either.
  ASSERT_TRUE(s->openKept(path("k")));
  EXPECT_EQ(s->vByte(), 0);
  ASSERT_TRUE(s->rewind());
  EXPECT_EQ(s->vByte(), 0);
  s->vByte();
  EXPECT_TRUE(s->eof());

  // Only a file opened kept rewinds.
  ASSERT_TRUE(s->openStream(path("k"), nubrel::InStream));
  EXPECT_FALSE(s->rewind());
  EXPECT_FALSE(s->openKept(path("none")));
  EXPECT_FALSE(s->rewind());
}

TEST_F(Files, KeepsModeAndLinks) {
  writeFile("target", Bytes(50, 1));
  ::chmod(fsPath("target").c_str(), 0640);
  std::filesystem::create_symlink("target", fsPath("link"));
  auto s = rt::make<BinFileStream>();
  ASSERT_TRUE(s->openStream(path("link"), nubrel::OutStream));
  ASSERT_TRUE(s->closeStream());
  EXPECT_TRUE(std::filesystem::is_symlink(fsPath("link")));
  EXPECT_EQ(readFile("target").size(), 24u);
  struct stat st {};
  ASSERT_EQ(::stat(fsPath("target").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Creating, for the files the system names itself, replaces a link (one
// that leads nowhere too) with the new file; the link's file stays.
TEST_F(Files, CreatingReplacesALinkItself) {
  for (Kind k : {Kind::Binary, Kind::TextFile}) {
    for (const char* leadsTo : {"target", "nowhere"}) {
      SCOPED_TRACE(std::string(nameOf(k)) + " to " + leadsTo);
      writeFile("target", Bytes(50, 1));
      std::filesystem::create_symlink(leadsTo, fsPath("link"));
      rt::Ref<nubrel::IStreamFile> s;
      if (k == Kind::Binary)
        s = rt::make<BinFileStream>();
      else
        s = rt::make<FileStream>();
      ASSERT_TRUE(s->createStream(path("link")));
      ASSERT_TRUE(s->closeStream());
      EXPECT_FALSE(std::filesystem::is_symlink(fsPath("link")));
      EXPECT_EQ(readFile("target"), Bytes(50, 1));
      EXPECT_FALSE(exists("nowhere"));
      EXPECT_EQ(listing().size(), 2u);
      std::filesystem::remove(fsPath("link"));
    }
  }
}

TEST_F(Files, BackslashesSeparateFolders) {
  std::filesystem::create_directory(fsPath("sub"));
  auto s = rt::make<FileStream>();
  std::u16string p = path("sub");
  ASSERT_TRUE(s->openStream(p + u"\\x.txt", nubrel::OutStream));
  ASSERT_TRUE(s->closeStream());
  EXPECT_TRUE(exists("sub/x.txt"));
}

TEST_F(Files, FailedSaveIsReported) {
  std::filesystem::create_directory(fsPath("gone"));
  auto s = rt::make<BinFileStream>();
  ASSERT_TRUE(s->openStream(path("gone/f"), nubrel::OutStream));
  std::filesystem::remove_all(fsPath("gone"));
  EXPECT_FALSE(s->closeStream());
  EXPECT_FALSE(s->errInfo().empty());
  EXPECT_FALSE(s->closeStream());
}

TEST_F(StreamTest, MemoryStreamMembers) {
  auto m = rt::make<MemStream>();
  EXPECT_EQ(m->dir(), nubrel::OutStream);
  EXPECT_TRUE(m->eof());  // an empty buffer
  m->init(nubrel::InStream);
  m->setVLong(12);
  m->setVString(u"x");
  m->setDir(nubrel::OutStream);  // reads work whatever the direction
  EXPECT_EQ(m->dir(), nubrel::OutStream);
  EXPECT_EQ(m->vLong(), 12);
  EXPECT_EQ(m->vString(), u"x");
  EXPECT_TRUE(m->eof());

  m->setStrBuffer(u"0000000A");
  EXPECT_EQ(m->dir(), nubrel::InStream);
  EXPECT_FALSE(m->eof());
  EXPECT_EQ(m->vLong(), 10);
  EXPECT_TRUE(m->eof());
  EXPECT_EQ(errorOf([&] { m->vLong(); }), rt::err::TypeMismatch);
  m->init(nubrel::OutStream);
  EXPECT_EQ(m->strBuffer(), u"");
}

TEST_F(StreamTest, EventStreamWithoutHandlers) {
  auto e = rt::make<nubrel::EventStream>();
  EXPECT_EQ(e->dir(), nubrel::OutStream);
  e->init(nubrel::InStream);
  EXPECT_EQ(e->dir(), nubrel::InStream);
  EXPECT_FALSE(e->eof());
  e->setVLong(1);                                                  // nobody listens
  EXPECT_EQ(errorOf([&] { e->vLong(); }), rt::err::TypeMismatch);  // eight spaces
  EXPECT_EQ(e->vByte(), 0x20);
}

TEST_F(StreamTest, EventHostsAreCalledInTurn) {
  auto first = rt::make<LoopbackHost>(), second = rt::make<LoopbackHost>();
  auto e = rt::make<nubrel::EventStream>();
  e->advise(first);
  uint32_t cookie = e->advise(second);
  e->setVInteger(1);
  EXPECT_EQ(first->text, u"0001");
  EXPECT_EQ(second->text, u"0001");
  e->unadvise(cookie);
  e->setVInteger(2);
  EXPECT_EQ(second->text, u"0001");
}

TEST_F(StreamTest, NullClassesDoNothing) {
  auto s = rt::make<nubrel::NullStream>();
  s->setVLong(5);
  EXPECT_EQ(s->vLong(), 0);
  EXPECT_EQ(s->vString(), u"");
  EXPECT_TRUE(s->vBytes().isEmpty());
  EXPECT_EQ(s->vObject(), nullptr);
  EXPECT_FALSE(s->eof());
  auto o = rt::make<nubrel::NullStreamEnable>();
  o->streamIO(*s);
  EXPECT_EQ(o->ver(), 0);
  EXPECT_EQ(o->className(), u"");
}

}  // namespace
