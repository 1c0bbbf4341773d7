// PackInfo: the header read from a pack file, and its members by name.
#include "packinfo.h"

#include "messages.h"
#include "nubrel/filestreams.h"
#include "nubrel/memstream.h"

#include "rt/testing.h"
#include "testpacks.h"

namespace wistel::test {
namespace {

using rt::testing::call;

class PackInfoTest : public PackerTest {
 protected:
  // The third golden pack: Flag 3, Password "pw", 110 bytes.
  std::string passwordPack() {
    return streamHeader() + longBytes(1) + stringBytes("C", 1) + stringBytes("D", 1) +
           longBytes(3) + hex("00 00 00 00 C0 D5 E1 40") + longBytes(4) + stringBytes("pw", 2) +
           longBytes(1) + longBytes(0) + stringBytes("f", 1) + longBytes(32) +
           hex("00 00 00 00 D0 D5 E1 40") + longBytes(2) + longBytes(0) + longBytes(3) + "abcd" +
           longBytes(0) + longBytes(0) + "e";
  }
};

TEST_F(PackInfoTest, ReadInfoFillsTheHeaderAndTheLength) {
  auto info = rt::make<PackInfo>();
  EXPECT_EQ(info->packLen(), 0);
  writeFile(at("p.pack"), passwordPack());
  ASSERT_TRUE(info->readInfo(u("p.pack")));
  EXPECT_EQ(info->packLen(), 110);
  EXPECT_EQ(info->ver(), 1);
  EXPECT_EQ(info->copyright(), u"C");
  EXPECT_EQ(info->description(), u"D");
  EXPECT_EQ(info->flag(), 3);
  EXPECT_EQ(info->createTime().serial, 36526.0);
  EXPECT_EQ(info->blkSize(), 4);
  EXPECT_EQ(info->password(), u"pw");

  // A header without the password bit empties a password held before.
  std::string plain = streamHeader() + longBytes(1) + stringBytes("C", 1) + stringBytes("D", 1) + longBytes(0) +
          hex("00 00 00 00 C0 D5 E1 40") + longBytes(1024) + longBytes(0) + longBytes(0);
  writeFile(at("plain.pack"), plain);
  ASSERT_TRUE(info->readInfo(u("plain.pack")));
  EXPECT_EQ(info->password(), u"");
  EXPECT_EQ(info->packLen(), static_cast<int64_t>(plain.size()));
}

TEST_F(PackInfoTest, ReadInfoIsFalseForWhatIsNoPackHeader) {
  writeFile(at("text.txt"), "just some text, long enough to be a header of a stream file");
  std::string pack = passwordPack();
  writeFile(at("cut.pack"), pack.substr(0, 40));  // past Copyright, inside Flag
  fs::create_directory(at("folder"));
  auto info = rt::make<PackInfo>();
  EXPECT_FALSE(info->readInfo(u("missing.pack")));
  EXPECT_FALSE(info->readInfo(u("text.txt")));
  EXPECT_FALSE(info->readInfo(u("folder")));
  EXPECT_FALSE(info->readInfo(u("")));
  EXPECT_FALSE(info->readInfo(u("cut.pack")));
  EXPECT_EQ(info->copyright(), u"C");  // read before the end, kept
  // A date that is no date.
  writeFile(at("date.pack"), streamHeader() + longBytes(1) + longBytes(0) + longBytes(0) +
                                 longBytes(0) + hex("30 75 08 F7 9C 2F 3F 7E") + longBytes(4));
  EXPECT_FALSE(info->readInfo(u("date.pack")));
}

// A header that ends early: ReadStream raises the stream's failure to its
// caller and ReadInfo answers false with the failure recorded; the fields
// read before the end have their new values, the others keep their old.
TEST_F(PackInfoTest, AHeaderCutShortKeepsWhatWasNeverRead) {
  const std::string pack = passwordPack();
  const struct {
    size_t cut;
    int fieldsRead;  // Ver, Copyright, Description, Flag, CreateTime, BlkSize, Password
  } cases[] = {{24, 0}, {27, 0}, {28, 1}, {33, 2}, {38, 3}, {41, 3}, {42, 4}, {50, 5}, {54, 6}, {59, 6}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cut);
    writeFile(at("cut.pack"), pack.substr(0, c.cut));
    auto fill = [](PackInfo& p) {
      p.setVer(9);
      p.setCopyright(u"old C");
      p.setDescription(u"old D");
      p.setFlag(PF_Password);
      p.setCreateTime(rt::Date{1.5});
      p.setBlkSize(99);
      p.setPassword(u"old pw");
    };
    auto check = [&](PackInfo& p) {
      EXPECT_EQ(p.ver(), c.fieldsRead > 0 ? 1 : 9);
      EXPECT_EQ(p.copyright(), c.fieldsRead > 1 ? u"C" : u"old C");
      EXPECT_EQ(p.description(), c.fieldsRead > 2 ? u"D" : u"old D");
      EXPECT_EQ(p.flag(), c.fieldsRead > 3 ? 3 : PF_Password);
      EXPECT_EQ(p.createTime().serial, c.fieldsRead > 4 ? 36526.0 : 1.5);
      EXPECT_EQ(p.blkSize(), c.fieldsRead > 5 ? 4 : 99);
      EXPECT_EQ(p.password(), u"old pw");
    };
    auto info = rt::make<PackInfo>();
    fill(*info);
    EXPECT_FALSE(info->readInfo(u("cut.pack")));
    EXPECT_TRUE(info->failure().starts_with(rt::errorText(rt::err::PastEndOfFile))) << rt::toUtf8(info->failure());
    EXPECT_EQ(info->packLen(), static_cast<int64_t>(c.cut));
    check(*info);

    auto direct = rt::make<PackInfo>();
    fill(*direct);
    auto s = rt::queryRef<nubrel::IBinFileStream>(rt::createInstance(nubrel::IBinFileStream::clsid).get());
    ASSERT_TRUE(s->openStream(u("cut.pack"), nubrel::InStream));
    EXPECT_EQ(rt::testing::errorOf([&] { direct->readStream(*s); }), rt::err::PastEndOfFile);
    check(*direct);
  }
  // A whole header clears the failure.
  auto info = rt::make<PackInfo>();
  EXPECT_FALSE(info->readInfo(u("missing.pack")));
  EXPECT_NE(info->failure(), u"");
  writeFile(at("p.pack"), pack);
  EXPECT_TRUE(info->readInfo(u("p.pack")));
  EXPECT_EQ(info->failure(), u"");
}

// The error box given no message shows the failure being handled.
TEST_F(PackInfoTest, AnErrorBoxWithoutMessageShowsTheFailureAtHand) {
  try {
    rt::raise(rt::err::DiskFull, u"t.pack");
  } catch (const rt::RuntimeError&) {
    showErr({});
  }
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(errors()[0], rt::errorText(rt::err::DiskFull) + u"：t.pack");
  showErr({}, u"Title");  // nothing at hand: nothing to describe
  ASSERT_EQ(ui_->boxes.size(), 2u);
  EXPECT_EQ(ui_->boxes[1].title, u"Title");
  EXPECT_EQ(ui_->boxes[1].prompt, errorBox(u""));
}

TEST_F(PackInfoTest, MembersByNameInSlotOrder) {
  rt::Ref<rt::Object> o = rt::make<PackInfo>();
  auto* d = static_cast<rt::Dispatch*>(o->query(rt::Dispatch::iid));
  ASSERT_NE(d, nullptr);
  const char16_t* names[] = {u"Ver",     u"Copyright", u"Description", u"Password",
                             u"CreateTime", u"PackLen", u"BlkSize",   u"Flag",
                             u"ReadInfo", u"WriteStream", u"ReadStream"};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(d->memberId(names[i]), i + 1) << rt::toUtf8(names[i]);
  EXPECT_EQ(d->typeName(), u"PackInfo");

  call(o.get(), u"ver", rt::PropLet, {rt::Variant(int32_t{7})});
  call(o.get(), u"PASSWORD", rt::PropLet, {rt::Variant(u"x")});
  call(o.get(), u"CreateTime", rt::PropLet, {rt::Variant(rt::Date{36526.5})});
  EXPECT_EQ(rt::toLong(call(o.get(), u"Ver", rt::PropGet)), 7);
  EXPECT_EQ(rt::toText(call(o.get(), u"Password", rt::PropGet)), u"x");
  EXPECT_EQ(rt::toDate(call(o.get(), u"CreateTime", rt::PropGet)).serial, 36526.5);
  EXPECT_EQ(rt::toLong(call(o.get(), u"PackLen", rt::PropGet)), 0);

  // A length beyond a Long cannot be told to late-bound callers.
  rt::queryRef<IPackInfo>(o.get())->setPackLen(int64_t{1} << 32);
  EXPECT_EQ(rt::testing::errorOf([&] { call(o.get(), u"PackLen", rt::PropGet); }), rt::err::Overflow);
  EXPECT_EQ(rt::testing::errorOf([&] { call(o.get(), u"WriteStream", rt::Method, {rt::Variant(nullptr)}); }),
            rt::err::ObjectNotSet);

  writeFile(at("p.pack"), passwordPack());
  EXPECT_TRUE(rt::toBool(call(o.get(), u"ReadInfo", rt::Method, {rt::Variant(u("p.pack"))})));
  EXPECT_EQ(rt::toLong(call(o.get(), u"PackLen", rt::PropGet)), 110);
}

TEST_F(PackInfoTest, WriteStreamAndReadStreamThroughAnyStream) {
  auto ms = rt::queryRef<nubrel::IMemStream>(rt::createInstance(nubrel::IMemStream::clsid).get());
  ASSERT_TRUE(ms);
  ms->init(nubrel::OutStream);
  auto a = rt::make<PackInfo>();
  a->setVer(1);
  a->setCopyright(u"版权");
  a->setFlag(PF_Compress);  // no password bit: no password written
  a->setPassword(u"secret");
  a->setBlkSize(77);
  a->setCreateTime(rt::Date{36526.25});
  rt::testing::call(a.get(), u"WriteStream", rt::Method, {rt::Variant(ms)});
  ms->setDir(nubrel::InStream);
  auto b = rt::make<PackInfo>();
  b->setPassword(u"old");
  b->readStream(*ms);
  EXPECT_EQ(b->copyright(), u"版权");
  EXPECT_EQ(b->flag(), PF_Compress);
  EXPECT_EQ(b->password(), u"");
  EXPECT_EQ(b->blkSize(), 77);
  EXPECT_EQ(b->createTime().serial, 36526.25);
  EXPECT_TRUE(ms->eof());
}

}  // namespace
}  // namespace wistel::test
