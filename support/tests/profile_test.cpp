#include "profile.h"

#include <gtest/gtest.h>

#include <vector>

#include "rt/dispatch.h"
#include "rt/locale.h"
#include "tempdir.h"

namespace {

using jespin::ProFile;
using jespin::test::TempDir;

rt::Ref<ProFile> openProfile(const TempDir& dir, const std::string& name = "app.ini") {
  auto p = rt::make<ProFile>();
  EXPECT_TRUE(p->init(dir.name(name)));
  return p;
}

TEST(ProFile, InitSplitsTheFileName) {
  TempDir dir;
  const std::u16string d = dir.dir();
  struct Case {
    std::u16string path, name;
    bool result;
    std::u16string proPath, proName;
  };
  const Case cases[] = {
      {d + u"/app.ini", u"", true, d + u"/", u"app.ini"},
      {d + u"\\app.ini", u"", true, d + u"\\", u"app.ini"},
      {d + u"/sub\\app.ini", u"", false, d + u"/sub\\", u"app.ini"},  // the last separator of either kind
      {d, u"app.ini", true, d + u"/", u"app.ini"},
      {d + u"/", u"app.ini", true, d + u"/", u"app.ini"},
      {u"C:\\App", u"app.ini", false, u"C:\\App\\", u"app.ini"},
      {u"C:\\App\\app.ini", u"", false, u"C:\\App\\", u"app.ini"},
      {d + u"/missing/app.ini", u"", false, d + u"/missing/", u"app.ini"},
  };
  for (const Case& c : cases) {
    auto p = rt::make<ProFile>();
    EXPECT_EQ(p->init(c.path, c.name), c.result) << rt::toUtf8(c.path);
    EXPECT_EQ(p->proPath(), c.proPath);
    EXPECT_EQ(p->proName(), c.proName);
    EXPECT_EQ(p->fileName(), c.proPath + c.proName);
  }
  // Without any separator nothing changes.
  auto p = openProfile(dir);
  EXPECT_FALSE(p->init(u"app.ini"));
  EXPECT_EQ(p->fileName(), d + u"/app.ini");
  std::filesystem::create_directory(dir.path() / "sub");
  EXPECT_TRUE(p->init(d + u"\\sub\\app.ini"));
}

TEST(ProFile, KeyPathsNameKeySectionAndProfile) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "other");
  dir.write("app.ini",
            "[Values]\r\nWidth=1\r\n[Window]\r\nWidth=2\r\n"
            "[ProFiles]\r\nOther=other/o.ini\r\nAbs=" + dir.at("abs.ini") + "\r\nGone=gone/g.ini\r\n");
  dir.write("other/o.ini", "[Window]\r\nWidth=3\r\n");
  dir.write("abs.ini", "[Window]\r\nWidth=4\r\n");
  dir.write("Plain", "[Window]\r\nWidth=5\r\n");
  dir.write("x.y.ini", "[Window]\r\nWidth=6\r\n");
  auto p = openProfile(dir);
  struct Case {
    const char16_t* path;
    const char16_t* value;
  };
  const Case cases[] = {
      {u"Width", u"1"},
      {u"width.WINDOW", u"2"},
      {u"Width.Window.Other", u"3"},
      {u"Width.Window.Abs", u"4"},    // "/..." is absolute
      {u"Width.Window.Plain", u"5"},  // not listed: a file beside this one
      {u"Width.Window.x.y.ini", u"6"},  // a profile name may hold dots
      {u"Width.Window.Gone", u""},    // its folder does not exist
      {u"Nothing", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(p->value(c.path), c.value) << rt::toUtf8(c.path);

  p->setDefClass(u"Window");
  EXPECT_EQ(p->value(u"Width"), u"2");
}

TEST(ProFile, WritesByKeyPath) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "other");
  dir.write("app.ini", "[ProFiles]\r\nOther=other\\o.ini\r\nGone=gone\\g.ini\r\n");
  auto p = openProfile(dir);
  p->letValue(u"a", u"1");
  p->letValue(u"b.Sec", u"2");
  p->letValue(u"c.Sec.Other", u"3");
  p->letValue(u"d.Sec.Gone", u"4");  // written nowhere, reported nowhere
  EXPECT_FALSE(p->error()->haveErr());
  EXPECT_EQ(dir.read("app.ini"),
            "[ProFiles]\r\nOther=other\\o.ini\r\nGone=gone\\g.ini\r\n\r\n"
            "[Values]\r\na=1\r\n\r\n[Sec]\r\nb=2\r\n");
  EXPECT_EQ(dir.read("other/o.ini"), "[Sec]\r\nc=3\r\n");
  EXPECT_FALSE(dir.exists("gone"));
  EXPECT_EQ(p->value(u"c.sec.other"), u"3");
}

TEST(ProFile, MissingKeysReadTheDefault) {
  TempDir dir;
  dir.write("app.ini", "[S]\r\nk=\"quoted\"\r\nn=12px\r\n");
  dir.write("fallback.ini", "[S]\r\nk=from fallback\r\n");
  auto p = openProfile(dir);
  EXPECT_EQ(p->getValue(u"S", u"k"), u"quoted");
  EXPECT_EQ(p->getValue(u"S", u"none"), u"");
  EXPECT_EQ(p->getInt(u"S", u"n"), 12);
  EXPECT_EQ(p->getInt(u"S", u"none", 7), 7);
  p->setDefValue(u"fallback.ini");
  EXPECT_EQ(p->getValue(u"S", u"none"), u"fallback.ini");
  EXPECT_EQ(p->value(u"none"), u"fallback.ini");
  // The default also answers the lookup in "ProFiles".
  EXPECT_EQ(p->value(u"k.S.Unlisted"), u"from fallback");

  auto missing = rt::make<ProFile>();
  EXPECT_EQ(missing->getValue(u"S", u"k"), u"");  // never initialised: no file
  EXPECT_EQ(missing->getInt(u"S", u"k", -3), -3);
}

TEST(ProFile, CutsLongValuesToTheBuffer) {
  TempDir dir;
  dir.write("app.ini", "[S]\r\nk=" + std::string(20000, 'x') + "\r\n");
  auto p = openProfile(dir);
  EXPECT_EQ(p->getValue(u"S", u"k"), std::u16string(10239, u'x'));
  p->setDefValue(std::u16string(20000, u'd'));
  EXPECT_EQ(p->getValue(u"S", u"none").size(), 10239u);
}

TEST(ProFile, WalksASection) {
  TempDir dir;
  dir.write("app.ini", "[S]\r\na=1\r\nb = 2\r\n[T]\r\n");
  auto p = openProfile(dir);
  EXPECT_EQ(p->firstValue(u"s"), u"a=1");
  EXPECT_EQ(p->nextValue(), u"b=2");
  EXPECT_EQ(p->nextValue(), u"");
  EXPECT_EQ(p->nextValue(), u"");
  EXPECT_EQ(p->firstValue(u"T"), u"");
  EXPECT_EQ(p->firstValue(u"none"), u"");
  // A single read restarts the buffer.
  EXPECT_EQ(p->firstValue(u"S"), u"a=1");
  EXPECT_EQ(p->getValue(u"S", u"b"), u"2");
  EXPECT_EQ(p->nextValue(), u"");
}

TEST(ProFile, SubstitutesMarkedKeyPaths) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "sub");
  dir.write("app.ini",
            "[ProFileDef]\r\nEscEnable=1\r\nEscChar=%,%\r\n"
            "[Values]\r\nName=World\r\nGreet=x%Name%y\r\nTwo=%Name%-%Name%\r\n"
            "Missing=[%Nope%]\r\nEmpty=a%%b\r\nOpen=a%Name\r\nNested=<%Greet%>\r\n"
            "Other=%K.S%/%K.S.sub%\r\n"
            "[S]\r\nK=s\r\n"
            "[ProFiles]\r\nsub=sub/s.ini\r\n");
  dir.write("sub/s.ini", "[S]\r\nK=%K%\r\n");  // substitution is off over there
  auto p = openProfile(dir);
  struct Case {
    const char16_t* path;
    const char16_t* value;
  };
  const Case cases[] = {
      {u"Greet", u"xWorldy"},  {u"Two", u"World-World"}, {u"Missing", u"[]"},
      {u"Empty", u"ab"},       {u"Open", u"aWorld"},     {u"Nested", u"<xWorldy>"},
      {u"Other", u"s/%K%"},    {u"Name", u"World"},
  };
  for (const Case& c : cases) EXPECT_EQ(p->value(c.path), c.value) << rt::toUtf8(c.path);
  EXPECT_EQ(p->getValue(u"Values", u"Greet"), u"x%Name%y");  // plain reads stay plain
  p->setDefValue(u"?");
  EXPECT_EQ(p->value(u"Missing"), u"[?]");
}

TEST(ProFile, MarkersAreReadAtInit) {
  struct Case {
    const char* def;
    const char16_t* value;
  };
  const Case cases[] = {
      {"EscEnable=-1\r\nEscChar=<<,>>", u"[v]"},
      {"EscEnable=1\r\nEscChar=$,$", u"[<<k>>]"},
      {"EscEnable=0\r\nEscChar=<<,>>", u"[<<k>>]"},
      {"EscEnable=1\r\nEscChar=<<>>", u"[<<k>>]"},  // no comma: off
      {"EscEnable=1\r\nEscChar=<<,", u"[<<k>>]"},   // an empty side: off
      {"EscEnable=1\r\nEscChar=,>>", u"[<<k>>]"},
      {"EscEnable=1", u"[<<k>>]"},
      {"EscEnable=1\r\nEscChar=<<,>>,", u"["},  // end marker ">>,": the rest is one key path
  };
  TempDir dir;
  for (const Case& c : cases) {
    dir.write("app.ini", std::string("[ProFileDef]\r\n") + c.def + "\r\n[Values]\r\nk=v\r\nr=[<<k>>]\r\n");
    EXPECT_EQ(openProfile(dir)->value(u"r"), c.value) << c.def;
  }
  // Markers are found without regard to case.
  dir.write("app.ini", "[ProFileDef]\r\nEscEnable=1\r\nEscChar=<a,A>\r\n[Values]\r\nk=v\r\nr=x<AkA>y\r\n");
  EXPECT_EQ(openProfile(dir)->value(u"r"), u"xvy");
}

TEST(ProFile, CyclesAreCutOff) {
  TempDir dir;
  dir.write("app.ini",
            "[ProFileDef]\r\nEscEnable=1\r\nEscChar=%,%\r\n"
            "[Values]\r\nSelf=x%Self%y\r\nA=a%B%\r\nB=b%A%\r\nOpen=x%Open\r\n"
            "Twice=%Name%%Name%\r\nName=n\r\nCase=%case%\r\n"
            "Far=%k.v.back%\r\n"
            "[ProFiles]\r\nback=app.ini\r\n"
            "[v]\r\nk=%Far%\r\n");
  auto p = openProfile(dir);
  EXPECT_EQ(p->value(u"Self"), u"x%Self%y");
  EXPECT_EQ(p->value(u"A"), u"ab%A%");
  EXPECT_EQ(p->value(u"B"), u"ba%B%");
  EXPECT_EQ(p->value(u"Open"), u"x%Open");
  EXPECT_EQ(p->value(u"Twice"), u"nn");  // the same key twice side by side is no cycle
  EXPECT_EQ(p->value(u"Case"), u"%case%");
  EXPECT_EQ(p->value(u"Far"), u"%Far%");  // round through another object on the file
}

TEST(ProFile, LongChainsEnd) {
  TempDir dir;
  std::string values = "[ProFileDef]\r\nEscEnable=1\r\nEscChar=%,%\r\n[Values]\r\n";
  for (int i = 1; i < 200; ++i) values += "K" + std::to_string(i) + "=%K" + std::to_string(i + 1) + "%\r\n";
  values += "K200=end\r\nS1=%S2%\r\nS2=%S3%\r\nS3=end\r\n";
  dir.write("app.ini", values);
  auto p = openProfile(dir);
  EXPECT_EQ(p->value(u"S1"), u"end");
  std::u16string deep = p->value(u"K1");
  EXPECT_TRUE(deep.starts_with(u"%K")) << rt::toUtf8(deep);
}

TEST(ProFile, EnableEscWritesTheMarkers) {
  TempDir dir;
  dir.write("app.ini", "[Values]\r\nk=v\r\nr=<k>\r\n");
  auto p = openProfile(dir);
  EXPECT_EQ(p->value(u"r"), u"<k>");
  p->enableEsc(u"<", u">");
  EXPECT_EQ(p->value(u"r"), u"v");
  EXPECT_EQ(p->getValue(u"ProFileDef", u"EscEnable"), u"-1");
  EXPECT_EQ(p->getValue(u"ProFileDef", u"EscChar"), u"<,>");
  EXPECT_EQ(openProfile(dir)->value(u"r"), u"v");  // a new object reads them
  EXPECT_EQ(p->newProf()->value(u"r"), u"v");

  // Empty markers never loop: values stand as they are.
  p->enableEsc(u"", u"");
  EXPECT_EQ(p->value(u"r"), u"<k>");
  EXPECT_EQ(openProfile(dir)->value(u"r"), u"<k>");

  auto unnamed = rt::make<ProFile>();
  unnamed->enableEsc(u"<", u">");  // no file: nothing written, nothing recorded
  EXPECT_FALSE(unnamed->error()->haveErr());
}

TEST(ProFile, RefusedWritesAreRecorded) {
  TempDir dir;
  dir.write("app.ini", "[S]\r\nk=old\r\n");
  auto p = openProfile(dir);
  struct Case {
    std::u16string section, key, value;
  };
  const Case cases[] = {
      {u"S", u"k", u"x\r\n[Evil]\r\nk=1"}, {u"S", u"k\n", u"v"}, {u"S", u"k=1", u"v"},
      {u"S", u"k]", u"v"},                 {u"S]", u"k", u"v"},  {u"S=", u"k", u"v"},
  };
  for (const Case& c : cases) {
    p->setValue(c.section, c.key, c.value);
    EXPECT_EQ(p->error()->number(), rt::err::InvalidCall);
    EXPECT_EQ(p->error()->source(), u"Jespin.ProFile.SetValue");
    EXPECT_FALSE(p->error()->description().empty());
  }
  p->letValue(u"k.S", u"a\rb");
  EXPECT_EQ(p->error()->source(), u"Jespin.ProFile.Value");
  EXPECT_EQ(dir.read("app.ini"), "[S]\r\nk=old\r\n");

  p->setValue(u"S", u"k", u"new");  // a good write clears the record
  EXPECT_FALSE(p->error()->haveErr());
  EXPECT_EQ(p->getValue(u"S", u"k"), u"new");
}

TEST(ProFile, FailedWritesAreRecordedNotRaised) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "sub");
  dir.write("app.ini", "[ProFiles]\r\nsub=sub/dir\r\n");
  std::filesystem::create_directory(dir.path() / "sub" / "dir");  // the sub-profile is a folder
  auto p = openProfile(dir);
  p->letValue(u"k.S.sub", u"v");
  EXPECT_EQ(p->error()->number(), rt::err::PathFileAccess);
  EXPECT_EQ(p->error()->source(), u"Jespin.ProFile.Value\r\nJespin.ProFile.Value");

  auto q = rt::make<ProFile>();
  EXPECT_FALSE(q->init(dir.dir() + u"/missing/app.ini"));
  q->setValue(u"S", u"k", u"v");
  EXPECT_EQ(q->error()->number(), rt::err::PathFileAccess);
  EXPECT_FALSE(dir.exists("missing"));
}

// A form as SaveWinStat and LoadWinStat see it: five properties by name.
class FakeForm final : public rt::Automation<FakeForm> {
 public:
  static const rt::MemberTable<FakeForm>& members() {
    static const auto table = [] {
      rt::MemberTable<FakeForm> t(u"FakeForm");
      for (size_t i = 0; i < std::size(kNames); ++i)
        t.prop(kNames[i], [i](FakeForm& f) { return f.values[i]; },
               [i](FakeForm& f, rt::Variant v) {
                 if (f.refuse == kNames[i]) rt::raise(rt::err::InvalidCall);
                 f.values[i] = v;
               });
      return t;
    }();
    return table;
  }
  static constexpr const char16_t* kNames[] = {u"WindowState", u"Left", u"Top", u"Width", u"Height"};
  rt::Variant values[5];
  std::u16string refuse;
};

TEST(ProFile, SavesAndLoadsWindowState) {
  TempDir dir;
  auto p = openProfile(dir);
  auto form = rt::make<FakeForm>();
  const char16_t* saved[] = {u"0", u"10", u"20", u"300", u"400"};
  for (int i = 0; i < 5; ++i) form->values[i] = rt::Variant(saved[i]);
  p->saveWinStat(form.get());
  p->saveWinStat(form.get(), u"Other");
  EXPECT_EQ(dir.read("app.ini"),
            "[Window]\r\nState=0\r\nX=10\r\nY=20\r\nW=300\r\nH=400\r\n\r\n"
            "[Other]\r\nState=0\r\nX=10\r\nY=20\r\nW=300\r\nH=400\r\n");

  auto back = rt::make<FakeForm>();
  p->loadWinStat(back.get());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(back->values[i].text(), saved[i]);

  // Another state restores no placement.
  p->setValue(u"Window", u"State", u"2");
  back = rt::make<FakeForm>();
  p->loadWinStat(back.get());
  EXPECT_EQ(back->values[0].text(), u"2");
  EXPECT_TRUE(back->values[1].isEmpty());

  // No state stored: nothing happens.
  back = rt::make<FakeForm>();
  p->loadWinStat(back.get(), u"None");
  EXPECT_TRUE(back->values[0].isEmpty());

  // A property that refuses ends loading quietly.
  back = rt::make<FakeForm>();
  back->refuse = u"Top";
  p->loadWinStat(back.get(), u"Other");
  EXPECT_EQ(back->values[1].text(), u"10");
  EXPECT_TRUE(back->values[2].isEmpty());
  EXPECT_TRUE(back->values[3].isEmpty());
  p->loadWinStat(nullptr);  // no form: nothing raised

  // Numbers are written in their text form.
  rt::setLocale(rt::LocaleId::EnglishUS);
  back->values[0] = rt::Variant(int16_t{1});
  back->values[1] = rt::Variant(10.5f);
  back->values[2] = rt::Variant(int32_t{-20});
  back->values[3] = rt::Variant(1e15);
  back->values[4] = rt::Variant(0.25);
  p->saveWinStat(back.get(), u"Numbers");
  EXPECT_EQ(p->firstValue(u"Numbers"), u"State=1");
  for (auto expected : {u"X=10.5", u"Y=-20", u"W=1E+15", u"H=0.25"}) EXPECT_EQ(p->nextValue(), expected);

  // Saving raises what reading the form raises.
  EXPECT_EQ(jespin::test::raisedNumber([&] { p->saveWinStat(nullptr); }), rt::err::ObjectNotSet);
  EXPECT_EQ(jespin::test::raisedNumber([&] { p->saveWinStat(p.get()); }), rt::err::NotSupported);
}

TEST(ProFile, LateBinding) {
  TempDir dir;
  dir.write("app.ini", "[Values]\r\nk=v\r\n[S]\r\nn=5\r\n");
  auto p = rt::make<ProFile>();
  auto call = [&](std::u16string_view name, int kinds, std::vector<rt::Variant> args = {}) {
    return rt::callByName(p.get(), name, kinds, args);
  };
  EXPECT_TRUE(call(u"Init", rt::Method, {rt::Variant(dir.dir()), rt::Variant(u"app.ini")}).boolean());
  EXPECT_EQ(call(u"defclass", rt::PropGet).text(), u"Values");
  std::vector<rt::Variant> key{rt::Variant(u"k")};
  EXPECT_EQ(rt::callDefault(p.get(), rt::PropGet, key).text(), u"v");
  call(u"Value", rt::PropLet, {rt::Variant(u"k"), rt::Variant(u"w")});
  EXPECT_EQ(call(u"GetValue", rt::Method, {rt::Variant(u"Values"), rt::Variant(u"k")}).text(), u"w");
  EXPECT_EQ(call(u"GetInt", rt::Method, {rt::Variant(u"S"), rt::Variant(u"n")}).longValue(), 5);
  EXPECT_EQ(call(u"GetInt", rt::Method, {rt::Variant(u"S"), rt::Variant(u"x"), rt::Variant(int32_t{9})})
                .longValue(),
            9);
  call(u"SetValue", rt::Method, {rt::Variant(u"S"), rt::Variant(u"m"), rt::Variant(u"6")});
  EXPECT_EQ(call(u"FirstValue", rt::Method, {rt::Variant(u"S")}).text(), u"n=5");
  EXPECT_EQ(call(u"NextValue", rt::Method).text(), u"m=6");
  EXPECT_EQ(call(u"FileName", rt::PropGet).text(), dir.dir() + u"/app.ini");

  rt::Variant sub = call(u"NewProf", rt::Method);
  ASSERT_TRUE(sub.isObject() && sub.object());
  EXPECT_EQ(rt::typeNameOfValue(sub), u"ProFile");
  std::vector<rt::Variant> gone{rt::Variant(u"gone/x.ini")};
  dir.write("app.ini", "[ProFiles]\r\ngone=gone/x.ini\r\n");
  EXPECT_TRUE(call(u"NewProf", rt::Method, gone).isNothing());

  rt::Variant err = call(u"Error", rt::PropGet);
  ASSERT_TRUE(err.isObject());
  EXPECT_FALSE(rt::callDefault(err.object(), rt::PropGet).boolean());
  EXPECT_EQ(jespin::test::raisedNumber([&] { call(u"Init", rt::Method); }), rt::err::WrongArgumentCount);
}

}  // namespace
