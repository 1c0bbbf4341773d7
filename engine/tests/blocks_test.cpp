// How lines are grouped into statement blocks, what "=" means in a statement,
// Dim and Exit lines, and the exit codes and errors blocks report.
#include <gtest/gtest.h>

#include "core/bodygeneral.h"
#include "core/errors.h"
#include "core/retype.h"
#include "core/simplebodies.h"
#include "core/ssbody.h"
#include "core/ssroot.h"
#include "rt/convert.h"
#include "testsupport.h"

namespace {

using engine::BodyGeneral;
using enginetest::tokens;
using enginetest::utf8;

std::string classes(BodyGeneral& b) {
  std::string s;
  for (size_t i = 0; i < b.childCount(); ++i) s += (i ? " " : "") + utf8(b.child(i).classId());
  return s;
}

void feed(BodyGeneral& b, std::initializer_list<std::u16string_view> lines) {
  for (std::u16string_view l : lines) b.addCode(*tokens(l));
}

TEST(RetypeAssignments, SettlesEachEquals) {
  const struct {
    const char16_t* line;
    std::vector<std::string> codes;  // what the "=" tokens became, in order
  } rows[] = {
      {u"a = b = c", {":=", "=="}},
      {u"Set o = p", {".="}},
      {u"x = 1 : y = x = 2", {":=", ":=", "=="}},
      {u"x += 1 = 2", {"+=", "=="}},
      {u"f(a = 1)", {":="}},  // brackets are not looked at
  };
  for (const auto& r : rows) {
    rt::Ref<engine::ExpItems> items = tokens(r.line);
    engine::retypeAssignments(*items);
    std::vector<std::string> seen;
    for (const engine::ExpItem& ei : *items) {
      if (ei.iType == engine::tok::Assign) seen.push_back(":=");
      if (ei.iType == engine::tok::AddAssign) seen.push_back("+=");
      if (ei.iType == engine::tok::EqualEqual) seen.push_back("==");
      if (ei.iType == engine::tok::SetAssign) seen.push_back(".=");
      EXPECT_NE(ei.iType, engine::tok::Equals) << utf8(r.line);
    }
    EXPECT_EQ(seen, r.codes) << utf8(r.line);
  }
  rt::Ref<engine::ExpItems> set = tokens(u"Set o = p");
  engine::retypeAssignments(*set);
  EXPECT_EQ(set->item(1).iType, engine::tok::Blank);
}

TEST(BodyGeneral, GroupsRunsOfPlainLinesAndOfDimLines) {
  BodyGeneral b;
  feed(b, {u"x = 1", u"y = 2", u"Dim a As Long", u"Dim b As String", u"", u"z = 3", u"Exit Do",
           u"w = 4"});
  ASSERT_FALSE(b.error().haveErr());
  EXPECT_EQ(classes(b), "BodySerial BodyDim BodySerial BodyExit BodySerial");
  EXPECT_EQ(static_cast<engine::BodySerial&>(b.child(0)).treeCount(), 2u);
  EXPECT_EQ(static_cast<engine::BodyDim&>(b.child(1)).declarations().count(), 2);
}

TEST(BodyGeneral, PublicAndPrivateContinueWhatIsOpen) {
  BodyGeneral dims;
  feed(dims, {u"Dim a As Long", u"Public b As String"});
  EXPECT_FALSE(dims.error().haveErr());
  EXPECT_EQ(static_cast<engine::BodyDim&>(dims.child(0)).declarations().count(), 2);

  BodyGeneral plain;
  feed(plain, {u"x = 1", u"Private y"});
  EXPECT_EQ(plain.error().info().number(), engine::errNumber(engine::ErrKeyword));

  BodyGeneral none;
  feed(none, {u"Public y"});
  EXPECT_EQ(none.error().info().number(), engine::errNumber(engine::ErrSyntax));
  EXPECT_EQ(utf8(none.error().info().source()), "Kestrin.BodyGeneral.AddCode");
}

TEST(BodyGeneral, AClosingOrStrayKeywordIsASyntaxError) {
  for (const char16_t* line : {u"Loop", u"Next", u"EndIf", u"Call f", u"Else", u"Return"}) {
    BodyGeneral b;
    feed(b, {line});
    EXPECT_EQ(b.error().info().number(), engine::errNumber(engine::ErrSyntax)) << utf8(line);
    EXPECT_EQ(utf8(b.error().info().source()), "Kestrin.BodyGeneral.AddCode\r\nNewBody");
  }
}

TEST(BodyGeneral, ARejectedLineIsDroppedWithTheErrorKept) {
  BodyGeneral b;
  feed(b, {u"x = 1", u"y = 2", u"z = (3"});
  jespin::IErrInfo& e = b.error().info();
  EXPECT_EQ(e.number(), engine::errNumber(engine::ErrBracket));
  EXPECT_EQ(utf8(e.source()), "Kestrin.BodyGeneral.AddLine\r\nKestrin.BodySerial.AddCode\r\n"
                              "Kestrin.CreateTree.Add");
  EXPECT_EQ(static_cast<engine::BodySerial&>(b.child(0)).treeCount(), 2u);
}

TEST(BodyDim, DeclaresNamesWithTypes) {
  const struct {
    const char16_t* line;
    const char* decls;
  } rows[] = {
      {u"Dim a", ""},
      {u"Dim a, b As Long", "b=Long"},
      {u"Dim a As Long, b As String", "a=Long;b=String"},
      {u"Dim a As", "a=Variant"},
      {u"Dim a As Foo Bar", "a=Bar"},
      {u"Dim a As Long, b, c As Date", "a=Long;c=Date"},
  };
  for (const auto& r : rows) {
    engine::BodyDim d;
    d.addCode(*tokens(r.line));
    EXPECT_FALSE(d.error().haveErr());
    EXPECT_EQ(utf8(d.declarations().listStr()), r.decls) << utf8(r.line);
  }
  engine::BodyDim twice;
  twice.addCode(*tokens(u"Dim a As Long, A As Long"));
  EXPECT_EQ(twice.error().info().number(), rt::err::KeyExists);
  EXPECT_EQ(twice.declarations().count(), 1);
}

TEST(BodyExit, NamesItsTargetOrFails) {
  const struct {
    const char16_t* line;
    int32_t code;
  } rows[] = {
      {u"Exit Do", engine::ExitDo},         {u"Exit For", engine::ExitFor},
      {u"Exit Function", engine::ExitFunction}, {u"Exit Sub", engine::ExitSub},
      {u"Exit If", 0},                      {u"Exit", 0},
  };
  rt::Ref<engine::SsBody> ss = rt::make<engine::SsBody>();
  for (const auto& r : rows) {
    engine::BodyExit e;
    e.addCode(*tokens(r.line));
    EXPECT_TRUE(e.isOver());
    if (r.code) {
      EXPECT_FALSE(e.error().haveErr());
      EXPECT_EQ(e.execute(*ss), r.code) << utf8(r.line);
    } else {
      EXPECT_EQ(e.error().info().number(), engine::errNumber(engine::ErrExit)) << utf8(r.line);
      EXPECT_EQ(utf8(e.error().info().source()), "Kestrin.BodyExit.AddCode");
    }
  }
}

TEST(BodyGeneral, RunsUntilAnErrorOrAnExit) {
  rt::Ref<engine::SsRoot> root = rt::make<engine::SsRoot>();
  rt::Ref<engine::SsBody> ss = rt::make<engine::SsBody>();
  ss->setParent(root.get());

  BodyGeneral exits;
  feed(exits, {u"x = 1", u"Exit For", u"x = 2"});
  EXPECT_EQ(exits.execute(*ss), engine::ExitFor);
  EXPECT_EQ(rt::toLong(ss->value(u"x")->value()), 1);

  BodyGeneral fails;
  feed(fails, {u"y = 1", u"y = 1 / 0", u"y = 3"});
  EXPECT_EQ(fails.execute(*ss), 0);
  EXPECT_EQ(rt::toLong(ss->value(u"y")->value()), 1);
  EXPECT_EQ(fails.error().info().number(), rt::err::DivisionByZero);
  // The block can run again: its record is cleared first.
  ss->setValue(u"y", nullptr);
  fails.execute(*ss);
  EXPECT_EQ(rt::toLong(ss->value(u"y")->value()), 1);
}

TEST(BodyGeneral, ABlockRunsAgainAsOftenAsWanted) {
  rt::Ref<engine::SsRoot> root = rt::make<engine::SsRoot>();
  rt::Ref<engine::SsBody> ss = rt::make<engine::SsBody>();
  ss->setParent(root.get());
  BodyGeneral b;
  feed(b, {u"n = n + 1", u"s = s & n"});
  for (int i = 0; i < 3; ++i) b.execute(*ss);
  EXPECT_EQ(utf8(rt::toText(ss->value(u"s")->value())), "0123");
}

}  // namespace
