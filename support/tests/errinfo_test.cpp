#include "errinfo.h"

#include <gtest/gtest.h>

#include "rt/collection.h"
#include "rt/dispatch.h"

namespace {

using jespin::ErrInfo;
using rt::Ref;
using rt::Variant;

Ref<ErrInfo> record(std::u16string_view app = {}, std::u16string_view mod = {}) {
  auto e = rt::make<ErrInfo>();
  e->setParentApp(app);
  e->setParentMod(mod);
  return e;
}

TEST(ErrInfo, NewRecordHasNoError) {
  auto e = record();
  EXPECT_FALSE(e->haveErr());
  EXPECT_EQ(e->number(), 0);
  EXPECT_EQ(e->source(), u"");
  EXPECT_EQ(e->sourceFull(), u"..");
}

TEST(ErrInfo, SourceCarriesOwnerPrefix) {
  struct Case {
    std::u16string app, mod, stored, source, full;
  };
  const Case cases[] = {
      {u"A", u"M", u"", u"A.M.", u"A.M."},
      {u"A", u"", u"Op", u"A.Op", u"A..Op"},
      {u"", u"M", u"Op", u"M.Op", u".M.Op"},
      {u"", u"", u"Op", u"Op", u"..Op"},
      {u"Kestrin", u"ExpTree", u"GetValue", u"Kestrin.ExpTree.GetValue",
       u"Kestrin.ExpTree.GetValue"},
  };
  for (const Case& c : cases) {
    auto e = record(c.app, c.mod);
    e->setSource(c.stored);
    EXPECT_EQ(e->source(), c.source);
    EXPECT_EQ(e->sourceFull(), c.full);
  }
}

TEST(ErrInfo, ClearKeepsOwner) {
  auto e = record(u"A", u"M");
  e->setNumber(5);
  e->setSource(u"Op");
  e->setDescription(u"bad");
  e->clear();
  EXPECT_FALSE(e->haveErr());
  EXPECT_EQ(e->description(), u"");
  EXPECT_EQ(e->source(), u"A.M.");
  EXPECT_EQ(e->sourceFull(), u"A.M.");
}

TEST(ErrInfo, HaveErrFollowsNumberOnly) {
  auto e = record();
  e->setNumber(static_cast<int32_t>(0x800403EA));
  EXPECT_TRUE(e->haveErr());
  e->setDescription(u"text stays");
  e->setNumber(0);
  EXPECT_FALSE(e->haveErr());
  e->setDescription(u"");
  e->setNumber(-1);
  EXPECT_TRUE(e->haveErr());  // an error without a text is still an error
}

TEST(ErrInfo, ReadSysErrChainsSources) {
  auto inner = record(u"Lib", u"Cls");
  inner->setNumber(13);
  inner->setSource(u"");
  inner->setDescription(u"类型不匹配");

  // Read from another record by name: its qualified source comes across.
  auto outer = record(u"Kestrin", u"ScriptHost");
  outer->readSysErr(inner.get(), u"Execute");
  EXPECT_EQ(outer->number(), 13);
  EXPECT_EQ(outer->description(), u"类型不匹配");
  EXPECT_EQ(outer->source(), u"Kestrin.ScriptHost.Execute\r\nLib.Cls.");

  auto plain = record();
  plain->readSysErr(inner.get());
  auto empty = record();
  empty->readSysErr(inner.get(), u"");
  EXPECT_EQ(plain->source(), u"Lib.Cls.");
  EXPECT_EQ(empty->source(), plain->source());

  // A second level puts its name in front again: outermost first.
  auto top = record();
  top->readSysErr(outer.get(), u"Run");
  EXPECT_EQ(top->source(), u"Run\r\nKestrin.ScriptHost.Execute\r\nLib.Cls.");
}

TEST(ErrInfo, ReadSysErrFailureKeepsEarlierFields) {
  // An object with Number but no Source: Number is stored, then the read fails.
  auto noSource = rt::make<rt::Collection>();  // has no Number: fails at once
  auto e = record();
  e->setNumber(7);
  EXPECT_THROW(e->readSysErr(noSource.get(), u"Op"), rt::RuntimeError);
  EXPECT_EQ(e->number(), 7);
  EXPECT_THROW(e->readSysErr(nullptr), rt::RuntimeError);
}

TEST(ErrInfo, LateBoundMembers) {
  auto e = record(u"A", u"M");
  Variant n(int32_t{42});
  rt::letProperty(e.get(), u"number", n);
  EXPECT_TRUE(rt::toBool(rt::callDefault(e.get(), rt::PropGet)));
  rt::letProperty(e.get(), u"Source", Variant(u"Op"));
  EXPECT_EQ(rt::getProperty(e.get(), u"SOURCEFULL").text(), u"A.M.Op");
  rt::callByName(e.get(), u"Clear", rt::Method);
  EXPECT_FALSE(rt::getProperty(e.get(), u"HaveErr").boolean());
  EXPECT_THROW(rt::callByName(e.get(), u"NoSuchMember", rt::Method), rt::RuntimeError);
  Variant extra[] = {Variant(int32_t{1})};
  try {
    rt::callByName(e.get(), u"Clear", rt::Method, extra);
    FAIL() << "expected error 450";
  } catch (const rt::RuntimeError& err) {
    EXPECT_EQ(err.number(), 450);
  }
}

}  // namespace
