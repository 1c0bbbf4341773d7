// Every file class of the library, created by its ProgID through the
// registration store of the build tree and driven by late binding.
#include <gtest/gtest.h>

#include <vector>

#include "jespin/profile.h"
#include "jespin/textfile.h"
#include "jespin/udlfile.h"
#include "rt/activation.h"
#include "rt/dispatch.h"
#include "rt/testing.h"
#include "tempdir.h"

namespace {

using rt::testing::call;

using jespin::test::TempDir;
using rt::Variant;

TEST(ProgId, EveryFileClassIsCreatable) {
  struct Case {
    const char16_t* progId;
    const char16_t* typeName;
    rt::Guid clsid;
    rt::Iid iid;
  };
  const Case cases[] = {
      {u"Jespin.TextFile", u"TextFile", jespin::ITextFile::clsid, jespin::ITextFile::iid},
      {u"Jespin.UnicodeFile", u"UnicodeFile", jespin::IUnicodeFile::clsid, jespin::IUnicodeFile::iid},
      {u"Jespin.UDLFile", u"UDLFile", jespin::IUDLFile::clsid, jespin::IUDLFile::iid},
      {u"Jespin.ProFile", u"ProFile", jespin::IProFile::clsid, jespin::IProFile::iid},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rt::classIdFromProgId(c.progId), c.clsid);
    rt::Ref<rt::Object> o = rt::createObject(c.progId);
    ASSERT_TRUE(o);
    EXPECT_EQ(rt::typeNameOfValue(Variant(o)), c.typeName);
    EXPECT_TRUE(o->query(c.iid));
    EXPECT_TRUE(rt::createInstance(c.clsid));
  }
}

TEST(ProgId, TextFilesByLateBinding) {
  TempDir dir;
  rt::Ref<rt::Object> t = rt::createObject(u"Jespin.TextFile");
  Variant fn(dir.name("t.txt"));
  EXPECT_TRUE(rt::toBool(call(t.get(), u"OpenWrit", rt::Method, {fn})));
  rt::letProperty(t.get(), u"Line", Variant(u"中文"));
  call(t.get(), u"CloseFile", rt::Method);
  EXPECT_TRUE(rt::toBool(call(t.get(), u"OpenRead", rt::Method, {fn})));
  EXPECT_EQ(rt::toText(rt::getProperty(t.get(), u"Line")), u"中文");
  EXPECT_TRUE(rt::toBool(rt::getProperty(t.get(), u"IsEOF")));

  dir.write("u.udl", "\xFF\xFE" + jespin::test::utf16le(u"[oledb]\r\n;c\r\nDSN=x\r\n"));
  Variant udl(dir.name("u.udl"));
  rt::Ref<rt::Object> u = rt::createObject(u"Jespin.UnicodeFile");
  EXPECT_TRUE(rt::toBool(call(u.get(), u"OpenRead", rt::Method, {udl})));
  EXPECT_EQ(rt::toText(rt::getProperty(u.get(), u"Line")), u"[oledb]");
  rt::Ref<rt::Object> d = rt::createObject(u"Jespin.UDLFile");
  EXPECT_EQ(rt::toText(call(d.get(), u"GetConnString", rt::Method, {udl})), u"DSN=x");
  EXPECT_EQ(rt::toText(rt::getProperty(d.get(), u"ErrString")), u"");
}

TEST(ProgId, ProFileByLateBinding) {
  TempDir dir;
  rt::Ref<rt::Object> p = rt::createObject(u"Jespin.ProFile");
  EXPECT_TRUE(rt::toBool(call(p.get(), u"Init", rt::Method, {Variant(dir.name("app.ini"))})));
  call(p.get(), u"SetValue", rt::Method, {Variant(u"Window"), Variant(u"W"), Variant(int32_t{640})});
  EXPECT_EQ(rt::toLong(call(p.get(), u"GetInt", rt::Method, {Variant(u"window"), Variant(u"w")})), 640);
  call(p.get(), u"Value", rt::PropLet, {Variant(u"k.S"), Variant(2.5)});
  std::vector<Variant> key{Variant(u"k.S")};
  EXPECT_EQ(rt::toText(rt::callDefault(p.get(), rt::PropGet, key)), u"2.5");
  EXPECT_EQ(dir.read("app.ini"), "[Window]\r\nW=640\r\n\r\n[S]\r\nk=2.5\r\n");

  Variant sub = call(p.get(), u"NewProf", rt::Method);
  ASSERT_TRUE(sub.isObject() && sub.object());
  EXPECT_EQ(rt::toText(call(sub.object(), u"GetValue", rt::Method, {Variant(u"S"), Variant(u"k")})),
            u"2.5");
  Variant err = rt::getProperty(p.get(), u"Error");
  EXPECT_FALSE(rt::toBool(rt::getProperty(err.object(), u"HaveErr")));
}

}  // namespace
