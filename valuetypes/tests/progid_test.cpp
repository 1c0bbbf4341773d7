// Every class created by its ProgID from the built library (registered by the
// build), answering ScriptValue across the library boundary.
#include <gtest/gtest.h>

#include "fakes.h"
#include "rt/activation.h"

namespace {

using fennick_test::errorOf;
using rt::Variant;
using zorbel::ScriptValue;

rt::Ref<ScriptValue> create(std::u16string_view progId) {
  return rt::queryRef<ScriptValue>(rt::createObject(progId).get());
}

TEST(ProgIds, EveryClassIsCreatableAndAScriptValue) {
  struct Case {
    const char* name;
    int32_t flag;
  };
  const Case cases[] = {
      {"SvBoolean", 1}, {"SvString", 1},  {"SvLong", 1},    {"SvDate", 1},
      {"SvDouble", 1},  {"SvInteger", 1}, {"SvVariant", 1}, {"SvCollection", 67},
      {"SvObject", 69}, {"SvCollFns", 5}, {"SvObjFns", 5},  {"SvObjAttr", 5},
  };
  for (const Case& c : cases) {
    std::string progId = std::string("Fennick.") + c.name;
    SCOPED_TRACE(progId);
    EXPECT_EQ(rt::classIdFromProgId(rt::ascii(progId)), rt::classIdOf(progId));
    rt::Ref<ScriptValue> v = create(rt::ascii(progId));
    ASSERT_TRUE(v);
    EXPECT_EQ(rt::typeNameOfValue(Variant(v)), rt::ascii(c.name));
    EXPECT_EQ(v->flag(), c.flag);
    EXPECT_EQ(v->key(), u"");
    v->setKey(u"name");
    EXPECT_EQ(v->key(), u"name");
    EXPECT_EQ(v->error().parentApp(), u"Fennick");
    EXPECT_EQ(v->error().parentMod(), rt::ascii(c.name));
    EXPECT_FALSE(v->error().haveErr());
    EXPECT_TRUE(rt::createInstance(rt::classIdOf(progId)));
  }
}

TEST(ProgIds, ValuesWorkAcrossTheLibraryBoundary) {
  rt::Ref<ScriptValue> lng = create(u"Fennick.SvLong");
  lng->letValue(Variant(3.5));
  EXPECT_EQ(lng->value().longValue(), 4);
  EXPECT_EQ(errorOf([&] { lng->letValue(Variant(u"abc")); }), rt::err::TypeMismatch);

  // A collection's bound member made and initialised by late binding alone.
  rt::Ref<ScriptValue> coll = create(u"Fennick.SvCollection");
  rt::Ref<ScriptValue> add = create(u"Fennick.SvCollFns");
  std::vector<Variant> init{Variant(coll), Variant(u"Add")};
  rt::callByName(add.get(), u"Init", rt::Method, init);
  rt::Ref<ScriptValue> item = create(u"Fennick.SvString");
  item->letValue(Variant(u"x"));
  add->funCall(nullptr, item.get(), 0);
  EXPECT_EQ(coll->count(), 1);
  EXPECT_EQ(coll->subs(Variant(int32_t{1}), 1)->value().text(), u"x");

  // An object value handed its object with Value set, then used by name.
  rt::Ref<fennick_test::Recorder> rec = fennick_test::newRecorder();
  rt::Ref<ScriptValue> obj = create(u"Fennick.SvObject");
  obj->setValue(Variant(rec));
  EXPECT_EQ(obj->attr(u"Item")->value().longValue(), 42);
  rt::Ref<ScriptValue> fns = create(u"Fennick.SvObjFns");
  std::vector<Variant> bind{Variant(obj), Variant(u"Name")};
  rt::callByName(fns.get(), u"Init", rt::Method, bind);
  EXPECT_EQ(fns->value().text(), u"rec");
  EXPECT_EQ(rec->calls.size(), 2u);
}

}  // namespace
