// The scalar values: initial state, conversions on Value let, the string
// members, and the library's own error codes.
#include <gtest/gtest.h>

#include <functional>

#include "fakes.h"
#include "messages.h"
#include "oracle.h"
#include "rt/convert.h"
#include "rt/text.h"
#include "scalars.h"

namespace {

using fennick_test::errorOf;
using fennick_test::LocaleScope;
using rt::Variant;
using rt::VT;
using zorbel::ScriptValue;

using Factory = std::function<rt::Ref<ScriptValue>()>;

template <class T>
Factory factory() {
  return [] { return rt::Ref<ScriptValue>(rt::make<T>()); };
}

std::string text(const Variant& v) { return rt::toUtf8(rt::toText(v)); }

TEST(Scalars, StartEmptyAndAnswerEveryOtherOperationWithNothing) {
  struct Case {
    const char* name;
    Factory make;
    VT type;
    std::string initial;
  };
  const Case cases[] = {
      {"SvVariant", factory<fennick::SvVariant>(), VT::Empty, ""},
      {"SvLong", factory<fennick::SvLong>(), VT::Long, "0"},
      {"SvInteger", factory<fennick::SvInteger>(), VT::Integer, "0"},
      {"SvString", factory<fennick::SvString>(), VT::String, ""},
      {"SvDouble", factory<fennick::SvDouble>(), VT::Double, "0"},
      {"SvDate", factory<fennick::SvDate>(), VT::Date, "12:00:00 AM"},
      {"SvBoolean", factory<fennick::SvBoolean>(), VT::Boolean, "False"},
  };
  LocaleScope en(rt::LocaleId::EnglishUS);
  rt::Ref<ScriptValue> arg = fennick_test::single(Variant(int32_t{1}));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rt::Ref<ScriptValue> v = c.make();
    EXPECT_EQ(v->value().type(), c.type);
    EXPECT_EQ(text(v->value()), c.initial);
    EXPECT_EQ(v->key(), u"");
    v->setKey(u"x");
    EXPECT_EQ(v->key(), u"x");
    EXPECT_EQ(v->count(), 0);
    EXPECT_EQ(v->flag(), zorbel::FlagValue);
    EXPECT_EQ(static_cast<bool>(v->attr(u"Length")), c.type == VT::String);
    EXPECT_FALSE(v->subs(Variant(int32_t{1}), 1));
    EXPECT_FALSE(v->funCall(nullptr, arg.get(), 1));
    EXPECT_FALSE(v->objAttr(u"Length"));
    EXPECT_FALSE(v->error().haveErr());
    EXPECT_EQ(v->error().parentApp(), u"Fennick");
    EXPECT_EQ(v->error().parentMod(), rt::ascii(c.name));
  }
}

TEST(Scalars, ObjectsConvertThroughTheirDefaultMember) {
  rt::Ref<fennick_test::Recorder> rec = fennick_test::newRecorder();  // default: "default"
  auto str = rt::make<fennick::SvString>();
  str->letValue(Variant(rec));
  EXPECT_EQ(str->value().text(), u"default");
  // A script value has no default member: no value to convert.
  auto lng = rt::make<fennick::SvLong>();
  EXPECT_EQ(errorOf([&] { lng->letValue(Variant(str)); }), rt::err::TypeMismatch);
}

TEST(Scalars, DatesReadAndWriteTextInTheUsersLocale) {
  struct Case {
    rt::LocaleId locale;
    const char16_t* in;
    const char16_t* out;
  };
  const Case cases[] = {
      {rt::LocaleId::EnglishUS, u"1/31/2000 12:00:00 PM", u"1/31/2000 12:00:00 PM"},
      {rt::LocaleId::EnglishUS, u"2000-01-31", u"1/31/2000"},
      {rt::LocaleId::ChinesePRC, u"2000/1/31 12:00:00", u"2000/1/31 12:00:00"},
      {rt::LocaleId::ChinesePRC, u"2000-01-31", u"2000/1/31"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::toUtf8(c.in));
    LocaleScope pin(c.locale);
    auto date = rt::make<fennick::SvDate>();
    date->letValue(Variant(c.in));
    auto str = rt::make<fennick::SvString>();
    str->letValue(date->value());
    EXPECT_EQ(str->value().text(), c.out);
  }
}

TEST(Scalars, VariantKeepsObjectsOthersIgnoreValueSet) {
  rt::Ref<fennick_test::Recorder> rec = fennick_test::newRecorder();
  auto var = rt::make<fennick::SvVariant>();
  // Anything else is kept with the type it was given.
  for (const Variant& v : {Variant(int16_t{5}), Variant(rt::Null{}), Variant(rt::Date{2})}) {
    var->letValue(v);
    EXPECT_EQ(oracle::describe(var->value()), oracle::describe(v));
  }
  var->letValue(Variant(rec));
  EXPECT_EQ(var->value().object(), static_cast<rt::Object*>(rec.get()));
  var->setValue(Variant(nullptr));
  EXPECT_TRUE(var->value().isNothing());

  auto lng = rt::make<fennick::SvLong>();
  lng->letValue(Variant(int32_t{3}));
  lng->setValue(Variant(rec));
  EXPECT_EQ(lng->value().longValue(), 3);
  EXPECT_FALSE(lng->error().haveErr());
}

// Reads `name` of `s` and answers the result's text and the text left.
std::pair<std::u16string, std::u16string> take(fennick::SvString& s, std::u16string_view name) {
  rt::Ref<ScriptValue> r = s.attr(name);
  return {r->value().text(), s.value().text()};
}

TEST(Scalars, StringMembersReadFromTheFront) {
  struct Case {
    const char16_t* start;
    std::u16string_view member;
    const char16_t* result;
    const char16_t* rest;
  };
  const Case cases[] = {
      {u"ab\r\ncd", u"GetLine", u"ab", u"cd"},
      {u"cd", u"getline", u"cd", u""},
      {u"", u"GetLine", u"", u""},
      {u"ab\ncd\r", u"GetLine", u"ab\ncd\r", u""},
      {u"\r\n", u"GetLine", u"", u""},
      {u"xyz", u"GetChar", u"x", u"yz"},
      {u"", u"GETCHAR", u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::toUtf8(c.start));
    auto s = rt::make<fennick::SvString>();
    s->letValue(Variant(c.start));
    auto [result, rest] = take(*s, c.member);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(rest, c.rest);
  }
}

TEST(Scalars, StringLengthAndLongTexts) {
  auto s = rt::make<fennick::SvString>();
  s->letValue(Variant(u"abc"));
  rt::Ref<ScriptValue> len = s->attr(u"length");
  EXPECT_EQ(len->value().type(), VT::Long);
  EXPECT_EQ(len->value().longValue(), 3);
  EXPECT_EQ(s->value().text(), u"abc");
  EXPECT_FALSE(s->attr(u"Size"));

  // A line end far beyond 16-bit positions, read piece by piece: Length and
  // Value always see exactly the unread rest.
  std::u16string first(70000, u'a');
  s->letValue(Variant(first + u"\r\nb\r\nc"));
  EXPECT_EQ(s->attr(u"GetLine")->value().text(), first);
  EXPECT_EQ(s->attr(u"Length")->value().longValue(), 4);
  EXPECT_EQ(s->attr(u"GetChar")->value().text(), u"b");
  EXPECT_EQ(s->value().text(), u"\r\nc");
  EXPECT_EQ(s->attr(u"GetLine")->value().text(), u"");
  s->letValue(Variant(u"new"));
  EXPECT_EQ(s->attr(u"GetChar")->value().text(), u"n");
  EXPECT_EQ(s->value().text(), u"ew");
}

TEST(Messages, OwnCodesAndTheirTexts) {
  EXPECT_EQ(fennick::resText(1004), u"非法调用，使用了对象不支持属性或方法。");
  EXPECT_EQ(fennick::resText(1005), u"缺少必要的参数。");
  EXPECT_EQ(fennick::resText(0x7fffffff), rt::errorText(rt::err::Overflow));
  EXPECT_NE(fennick::resText(7).find(u"10007"), std::u16string::npos);

  rt::Ref<jespin::IErrInfo> rec = jespin::newErrInfo(u"Fennick", u"SvObject");
  rec->setSource(u"earlier");
  fennick::setErrCode(*rec, 1004, u"Op");
  EXPECT_EQ(static_cast<uint32_t>(rec->number()), 0x800403ECu);
  EXPECT_EQ(rec->description(), fennick::resText(1004));
  EXPECT_EQ(rec->sourceFull(), u"Fennick.SvObject.Op");
  EXPECT_EQ(errorOf([&] { fennick::setErrCode(*rec, -262145, u"Op"); }), rt::err::Overflow);
  EXPECT_EQ(errorOf([&] { fennick::setErrCode(*rec, -262144, u"Op"); }), 0);
}

}  // namespace
