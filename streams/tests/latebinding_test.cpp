// The classes called by member name, as scripts call them.
#include "binfilestream.h"
#include "eventstream.h"
#include "filestream.h"
#include "memstream.h"
#include "nullclasses.h"
#include "rt/locale.h"
#include "rt/testing.h"
#include "streamenum.h"
#include "testobjects.h"
#include "testsupport.h"

namespace {

using rt::testing::call;
using rt::testing::errorOf;

using namespace streamtest;
using rt::Variant;

using LateBinding = StreamTest;

TEST_F(LateBinding, StreamEnumReadsTheDirectionsByName) {
  rt::Ref<rt::Object> e = rt::createObject(u"Nubrel.StreamEnum");
  ASSERT_TRUE(e);
  EXPECT_EQ(call(e.get(), u"OutStream", rt::PropGet).longValue(), 0);
  EXPECT_EQ(call(e.get(), u"instream", rt::PropGet).longValue(), 1);
  EXPECT_EQ(errorOf([&] { call(e.get(), u"OutStream", rt::PropLet, {Variant(int32_t{1})}); }),
            rt::err::NotSupported);
  EXPECT_EQ(errorOf([&] { call(e.get(), u"Other", rt::PropGet); }), rt::err::NotSupported);
}

TEST_F(LateBinding, FileStreamByName) {
  for (Kind k : {Kind::Binary, Kind::TextFile}) {
    SCOPED_TRACE(nameOf(k));
    rt::Ref<rt::Object> s;
    if (k == Kind::Binary)
      s = rt::make<nubrel::BinFileStream>();
    else
      s = rt::make<nubrel::FileStream>();
    Variant fn(path("lb"));
    EXPECT_TRUE(call(s.get(), u"openstream", rt::Method, {fn, Variant(int32_t{0})}).boolean());
    call(s.get(), u"VLong", rt::PropLet, {Variant(int32_t{77})});
    call(s.get(), u"VString", rt::PropLet, {Variant(u"名")});
    call(s.get(), u"VBytes", rt::PropLet, {Variant(rt::ByteArray{1, {4, 5}})});
    EXPECT_TRUE(call(s.get(), u"CloseStream", rt::Method).boolean());
    EXPECT_TRUE(call(s.get(), u"OpenStream", rt::Method, {fn, Variant(int32_t{1})}).boolean());
    EXPECT_EQ(call(s.get(), u"dir", rt::PropGet).longValue(), 1);
    EXPECT_EQ(call(s.get(), u"VLong", rt::PropGet).longValue(), 77);
    EXPECT_EQ(call(s.get(), u"vstring", rt::PropGet).text(), u"名");
    Variant bytes = call(s.get(), u"VBytes", rt::PropGet);
    EXPECT_EQ(bytes.bytes().bytes, (std::vector<uint8_t>{4, 5}));
    EXPECT_FALSE(call(s.get(), u"EOF", rt::PropGet).boolean());
    EXPECT_EQ(call(s.get(), u"ErrInfo", rt::PropGet).text(), u"");
    EXPECT_EQ(rt::typeNameOfValue(Variant(s)),
              k == Kind::Binary ? u"BinFileStream" : u"FileStream");
  }
}

TEST_F(LateBinding, MemStreamByName) {
  auto m = rt::make<nubrel::MemStream>();
  call(m.get(), u"Init", rt::Method, {Variant(int32_t{0})});
  call(m.get(), u"VInteger", rt::PropLet, {Variant(int16_t{-1})});
  EXPECT_EQ(call(m.get(), u"StrBuffer", rt::PropGet).text(), u"FFFF");
  call(m.get(), u"StrBuffer", rt::PropLet, {Variant(u"0000000B")});
  EXPECT_EQ(call(m.get(), u"dir", rt::PropGet).longValue(), 1);
  call(m.get(), u"SetDir", rt::Method, {Variant(int32_t{0})});
  EXPECT_EQ(call(m.get(), u"VLong", rt::PropGet).longValue(), 11);
  EXPECT_TRUE(call(m.get(), u"EOF", rt::PropGet).boolean());
}

TEST_F(LateBinding, EveryValueKindByName) {
  // Arguments convert as scripts pass them: numbers given as text, a Long
  // for a byte.
  rt::setLocale(rt::LocaleId::EnglishUS);
  for (Kind k : kAllKinds) {
    SCOPED_TRACE(nameOf(k));
    rt::Ref<nubrel::VStream> w = writer(k);
    rt::Object* o = w.get();
    call(o, u"VByte", rt::PropLet, {Variant(int32_t{200})});
    call(o, u"VInteger", rt::PropLet, {Variant(u"-2")});
    call(o, u"VDouble", rt::PropLet, {Variant(u"2.25")});
    call(o, u"VDate", rt::PropLet, {Variant(rt::Date{36526.75})});
    call(o, u"VString", rt::PropLet, {Variant(int32_t{12})});
    rt::Ref<nubrel::VStream> r = reader(k, w);
    o = r.get();
    Variant b = call(o, u"VByte", rt::PropGet);
    EXPECT_EQ(b.type(), rt::VT::Byte);
    EXPECT_EQ(b.byte(), 200);
    Variant i = call(o, u"VInteger", rt::PropGet);
    EXPECT_EQ(i.type(), rt::VT::Integer);
    EXPECT_EQ(i.integer(), -2);
    EXPECT_EQ(call(o, u"VDouble", rt::PropGet).dbl(), 2.25);
    Variant d = call(o, u"VDate", rt::PropGet);
    EXPECT_EQ(d.type(), rt::VT::Date);
    EXPECT_EQ(d.date().serial, 36526.75);
    EXPECT_EQ(call(o, u"VString", rt::PropGet).text(), u"12");
  }
  EXPECT_EQ(errorOf([&] {
              call(writer(Kind::Memory).get(), u"VByte", rt::PropLet, {Variant(int32_t{256})});
            }),
            rt::err::Overflow);
}

TEST_F(LateBinding, ObjectArguments) {
  auto m = rt::make<nubrel::MemStream>();
  auto p = rt::make<TestPoint>();
  p->x = 1;
  call(m.get(), u"VObject", rt::PropSet, {Variant(p)});
  EXPECT_EQ(m->strBuffer().substr(0, 8), u"00000010");
  // An object that cannot stream itself, a value that is no object, Nothing.
  auto other = rt::make<nubrel::MemStream>();
  EXPECT_EQ(errorOf([&] { call(m.get(), u"VObject", rt::PropSet, {Variant(other)}); }),
            rt::err::NoAutomation);
  EXPECT_EQ(errorOf([&] { call(m.get(), u"VObject", rt::PropSet, {Variant(int32_t{3})}); }),
            rt::err::TypeMismatch);
  EXPECT_EQ(errorOf([&] { call(m.get(), u"VObject", rt::PropSet, {Variant(nullptr)}); }),
            rt::err::ObjectNotSet);

  // StreamEnable's own members, with a stream as the argument.
  auto q = rt::make<TestPoint>();
  call(q.get(), u"Ver", rt::PropLet, {Variant(int32_t{9})});
  EXPECT_EQ(q->versionRead, 9);
  EXPECT_EQ(call(q.get(), u"ClassName", rt::PropGet).text(), kPointProgId);
  auto in = rt::make<nubrel::MemStream>();
  in->setStrBuffer(u"0000000500000002ab\x01");
  EXPECT_EQ(errorOf([&] { call(q.get(), u"StreamIO", rt::Method, {Variant(in)}); }),
            rt::err::TypeMismatch);  // the child record names no class: "\x01" is no count
}

TEST_F(LateBinding, UnknownMembersAndCounts) {
  auto e = rt::make<nubrel::EventStream>();
  EXPECT_EQ(errorOf([&] { call(e.get(), u"Nope", rt::Method); }), rt::err::NotSupported);
  EXPECT_EQ(errorOf([&] { call(e.get(), u"Init", rt::Method); }), rt::err::WrongArgumentCount);
  auto n = rt::make<nubrel::NullStream>();
  EXPECT_EQ(rt::typeNameOfValue(Variant(n)), u"VStream");
  EXPECT_EQ(call(n.get(), u"VString", rt::PropGet).text(), u"");
  EXPECT_TRUE(call(n.get(), u"VObject", rt::PropGet).isNothing());
}

TEST_F(LateBinding, InterfacesAnswered) {
  auto b = rt::make<nubrel::BinFileStream>();
  rt::Object* o = static_cast<rt::Dispatch*>(b.get());
  EXPECT_TRUE(rt::queryRef<nubrel::VStream>(o));
  EXPECT_TRUE(rt::queryRef<nubrel::IStreamFile>(o));
  EXPECT_TRUE(rt::queryRef<nubrel::IBinFileStream>(o));
  EXPECT_FALSE(rt::queryRef<nubrel::IFileStream>(o));
  EXPECT_TRUE(rt::queryRef<rt::Dispatch>(o));
  auto f = rt::make<nubrel::FileStream>();
  EXPECT_TRUE(rt::queryRef<nubrel::IFileStream>(static_cast<rt::Dispatch*>(f.get())));
  auto m = rt::make<nubrel::MemStream>();
  EXPECT_TRUE(rt::queryRef<nubrel::IMemStream>(static_cast<rt::Dispatch*>(m.get())));
  EXPECT_TRUE(rt::queryRef<nubrel::VStream>(static_cast<rt::Dispatch*>(m.get())));
  auto e = rt::make<nubrel::EventStream>();
  EXPECT_TRUE(rt::queryRef<nubrel::IEventStream>(static_cast<rt::Dispatch*>(e.get())));
}

}  // namespace
