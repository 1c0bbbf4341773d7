// Object records: self-streaming objects stored and created again by name.
#include "binfilestream.h"
#include "memstream.h"
#include "nubrel/filestreams.h"
#include "nubrel/memstream.h"
#include "nullclasses.h"
#include "rt/activation.h"
#include "rt/testing.h"
#include "testobjects.h"
#include "testsupport.h"

namespace {

using rt::testing::errorOf;

using namespace streamtest;

class ObjectRecords : public StreamTest {
 protected:
  void SetUp() override {
    StreamTest::SetUp();
    rt::registerLocalClass(kPointProgId, rt::classIdOf("NubrelTest.Point"),
                           [] { return rt::Ref<rt::Object>(rt::make<TestPoint>()); });
    // Registered, but it cannot read itself from a stream.
    rt::registerLocalClass(u"NubrelTest.Plain", rt::classIdOf("NubrelTest.Plain"),
                           [] { return rt::Ref<rt::Object>(rt::make<nubrel::MemStream>()); });
  }
  void TearDown() override {
    rt::unregisterLocalClass(kPointProgId);
    rt::unregisterLocalClass(u"NubrelTest.Plain");
    StreamTest::TearDown();
  }
};

TEST_F(ObjectRecords, RoundTripThroughEveryStream) {
  for (rt::CodePage cp : {rt::CodePage::Utf8, rt::CodePage::Cp936}) {
    rt::setCodePage(cp);
    for (Kind k : kAllKinds) {
      SCOPED_TRACE(nameOf(k));
      auto p = rt::make<TestPoint>();
      p->x = -3;
      p->name = u"外层";
      p->child = rt::make<TestPoint>();
      p->child->x = 4;
      p->child->name = u"inner";
      auto w = writer(k);
      w->setVObject(p.get());
      w->setVLong(99);
      auto r = reader(k, w);
      rt::Ref<TestPoint> q = rt::queryRef<TestPoint>(r->vObject().get());
      ASSERT_TRUE(q);
      EXPECT_NE(q.get(), p.get());
      EXPECT_EQ(q->versionAtRead, 2);  // given before the fields were read
      EXPECT_EQ(q->x, -3);
      EXPECT_EQ(q->name, u"外层");
      ASSERT_TRUE(q->child);
      EXPECT_EQ(q->child->x, 4);
      EXPECT_EQ(q->child->name, u"inner");
      EXPECT_FALSE(q->child->child);
      EXPECT_EQ(r->vLong(), 99);
    }
  }
}

TEST_F(ObjectRecords, ClassesThatCannotBeRead) {
  struct Case {
    std::u16string name;
    int32_t error;
  };
  const Case cases[] = {
      {u"NubrelTest.Unknown", rt::err::CannotCreateObject},
      {u"NubrelTest.Plain", rt::err::NoAutomation},
      {u"", rt::err::CannotCreateObject},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::toUtf8(c.name));
    auto m = rt::make<nubrel::MemStream>();
    m->setVString(c.name);
    m->setVLong(1);
    m->setDir(nubrel::InStream);
    std::u16string why;
    EXPECT_EQ(errorOf([&] { m->vObject(); }, &why), c.error);
    if (!c.name.empty()) {
      EXPECT_NE(why.find(c.name), std::u16string::npos) << rt::toUtf8(why);
    }
    EXPECT_EQ(m->vLong(), 1);  // nothing read after the class name
  }
}

// A point with n - 1 points nested below it.
rt::Ref<TestPoint> chain(int n) {
  auto top = rt::make<TestPoint>();
  for (TestPoint* p = top.get(); --n > 0; p = p->child.get()) p->child = rt::make<TestPoint>();
  return top;
}

TEST_F(ObjectRecords, DeepNestingIsRefused) {
  for (Kind k : kAllKinds) {
    SCOPED_TRACE(nameOf(k));
    auto w = writer(k);
    w->setVObject(chain(100).get());
    w->setVObject(chain(101).get());
    auto r = reader(k, w);
    EXPECT_TRUE(r->vObject());
    EXPECT_EQ(errorOf([&] { r->vObject(); }), rt::err::OutOfStackSpace);
  }
}

TEST_F(ObjectRecords, StreamsFromTheBuiltLibrary) {
  // Created by name from the library file, reached through its interfaces
  // only; the object it reads is this program's own class.
  auto m = rt::queryRef<nubrel::IMemStream>(rt::createObject(u"Nubrel.MemStream").get());
  ASSERT_TRUE(m);
  auto p = rt::make<TestPoint>();
  p->name = u"跨库";
  m->setVObject(p.get());
  m->setDir(nubrel::InStream);
  rt::Ref<TestPoint> q = rt::queryRef<TestPoint>(m->vObject().get());
  ASSERT_TRUE(q);
  EXPECT_EQ(q->name, u"跨库");

  auto b =
      rt::queryRef<nubrel::IBinFileStream>(rt::createInstance(nubrel::IBinFileStream::clsid).get());
  ASSERT_TRUE(b);
  EXPECT_FALSE(b->openStream(path("none"), nubrel::InStream));
  EXPECT_FALSE(b->errInfo().empty());
  for (const char16_t* progId :
       {u"Nubrel.VStream", u"Nubrel.StreamEnable", u"Nubrel.FileStream", u"Nubrel.EventStream"})
    EXPECT_TRUE(rt::createObject(progId)) << rt::toUtf8(progId);
}

TEST_F(ObjectRecords, LateBoundObjectReads) {
  auto m = rt::make<nubrel::MemStream>();
  auto p = rt::make<TestPoint>();
  p->x = 8;
  m->setVObject(p.get());
  m->setDir(nubrel::InStream);
  rt::Variant v = rt::callByName(static_cast<rt::Dispatch*>(m.get()), u"VObject", rt::PropGet);
  ASSERT_TRUE(v.isObject());
  EXPECT_EQ(rt::queryRef<TestPoint>(v.object())->x, 8);
}

}  // namespace
