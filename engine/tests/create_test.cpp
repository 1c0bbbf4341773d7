// Object creation: the root's CreateObject and New.
#include <gtest/gtest.h>

#include "builtins/svcreate.h"
#include "builtins/svgeneral.h"
#include "builtins/svsingle.h"
#include "core/ssbody.h"
#include "core/ssroot.h"
#include "hostfixture.h"
#include "rt/activation.h"
#include "rt/convert.h"
#include "testsupport.h"

namespace {

using enginetest::utf8;
using rt::Ref;
using zorbel::ScriptValue;

// A class made only to count its creations.
class Counted final : public rt::Automation<Counted> {
 public:
  static const rt::MemberTable<Counted>& members() {
    static const rt::MemberTable<Counted> table{u"Counted"};
    return table;
  }
  static inline int made = 0;
  Counted() { ++made; }
};

struct Fixture : ::testing::Test {
  Ref<engine::SsRoot> root = rt::make<engine::SsRoot>();
  Ref<engine::SsBody> ss = rt::make<engine::SsBody>();
  Ref<engine::SvCreateObj> createObject = rt::make<engine::SvCreateObj>();
  Ref<engine::SvNew> newValue = rt::make<engine::SvNew>();
  Fixture() {
    ss->setParent(root.get());
    rt::registerLocalClass(u"Test.Counted", rt::classIdOf("Test.Counted"),
                           [] { return rt::make<Counted>(); });
  }
  ~Fixture() override { rt::unregisterLocalClass(u"Test.Counted"); }

  Ref<ScriptValue> arg(std::u16string_view progId) { return engine::SvSingle::of(rt::Variant(progId)); }
  std::string typeNameOf(ScriptValue* v) {
    return utf8(static_cast<rt::Dispatch*>(v->query(rt::Dispatch::iid))->typeName());
  }
};

using Creation = Fixture;

TEST_F(Creation, CreateObjectWrapsTheObjectInTheTypeMapsObjectClass) {
  Ref<ScriptValue> v = createObject->funCall(ss.get(), arg(u"Jespin.VValues").get(), 1);
  ASSERT_TRUE(v) << utf8(createObject->error().description());
  EXPECT_EQ(typeNameOf(v.get()), "SvObject");
  EXPECT_EQ(v->flag(), 69);
  EXPECT_EQ(utf8(rt::typeNameOfValue(v->value())), "VValues");
  Ref<ScriptValue> w = createObject->funCall(ss.get(), arg(u"Jespin.VValues").get(), 1);
  EXPECT_NE(v->value().object(), w->value().object());  // a new object each time

  // With no "Object" entry, an automation-object wrapper.
  root->typeDefs()->remove(rt::Variant(u"Object"));
  Ref<ScriptValue> x = createObject->funCall(ss.get(), arg(u"Jespin.VValues").get(), 1);
  ASSERT_TRUE(x);
  EXPECT_EQ(typeNameOf(x.get()), "SvActiveX");
  EXPECT_EQ(utf8(rt::typeNameOfValue(x->value())), "VValues");
}

TEST_F(Creation, MakesTheWrapperBeforeTheObject) {
  root->typeDefs()->item(rt::Variant(u"Object"))->letValue(rt::Variant(u"No.Such"));
  Counted::made = 0;
  EXPECT_FALSE(createObject->funCall(ss.get(), arg(u"Test.Counted").get(), 1));
  EXPECT_EQ(Counted::made, 0);
  EXPECT_EQ(createObject->error().number(), rt::err::CannotCreateObject);
  // A wrapper class that is no script value.
  root->typeDefs()->item(rt::Variant(u"Object"))->letValue(rt::Variant(u"Test.Counted"));
  EXPECT_FALSE(createObject->funCall(ss.get(), arg(u"Jespin.VValues").get(), 1));
  EXPECT_EQ(createObject->error().number(), rt::err::NoAutomation);
}

TEST_F(Creation, NewHandsOverAScriptValueAsCreated) {
  Ref<ScriptValue> c = newValue->funCall(ss.get(), arg(u"Fennick.SvCollection").get(), 1);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->flag(), 67);
  EXPECT_EQ(c->count(), 0);
  EXPECT_TRUE(c->key().empty());
  EXPECT_NE(newValue->funCall(ss.get(), arg(u"Fennick.SvCollection").get(), 1).get(), c.get());
  // A type name is no ProgID; an automation class is no script value.
  EXPECT_FALSE(newValue->funCall(ss.get(), arg(u"Collection").get(), 1));
  EXPECT_EQ(newValue->error().number(), rt::err::CannotCreateObject);
  EXPECT_FALSE(newValue->funCall(ss.get(), arg(u"Jespin.VValues").get(), 1));
  EXPECT_EQ(newValue->error().number(), rt::err::NoAutomation);
  EXPECT_EQ(utf8(newValue->error().source()), "Kestrin.SvNew.ScriptValue_FunCall\r\n");
}

TEST_F(Creation, NeedsExactlyOneProgId) {
  for (ScriptValue* creator : {static_cast<ScriptValue*>(createObject.get()),
                               static_cast<ScriptValue*>(newValue.get())}) {
    Counted::made = 0;
    EXPECT_FALSE(creator->funCall(ss.get(), nullptr, 1));
    EXPECT_EQ(creator->error().number(), rt::err::ObjectNotSet);
    Ref<engine::SvGeneral> two = rt::make<engine::SvGeneral>();
    two->addSubs(arg(u"Test.Counted").get());
    two->addSubs(arg(u"Test.Counted").get());
    EXPECT_FALSE(creator->funCall(ss.get(), two.get(), 1));  // the list's value: 0
    EXPECT_EQ(creator->error().number(), rt::err::CannotCreateObject);
    EXPECT_EQ(Counted::made, 0);
  }
}

TEST_F(Creation, SupportsNothingButACall) {
  for (ScriptValue* creator : {static_cast<ScriptValue*>(createObject.get()),
                               static_cast<ScriptValue*>(newValue.get())}) {
    const std::string prefix = "Kestrin." + typeNameOf(creator) + ".";
    struct Case {
      std::function<void()> op;
      const char* source;
    } cases[] = {
        {[&] { EXPECT_EQ(creator->count(), 0); }, "ScriptValue_Count"},
        {[&] { EXPECT_EQ(creator->value().type(), rt::VT::Integer); }, "Get_ScriptValue_Value"},
        {[&] { creator->letValue(rt::Variant(1)); }, "Let_ScriptValue_Value"},
        {[&] { creator->setValue(rt::Variant(nullptr)); }, "Set_ScriptValue_Value"},
        {[&] { EXPECT_FALSE(creator->attr(u"a")); }, "ScriptValue_Attr"},
        {[&] { EXPECT_FALSE(creator->subs(rt::Variant(1), 1)); }, "ScriptValue_Subs"},
    };
    for (const Case& c : cases) {
      c.op();
      EXPECT_EQ(creator->error().number(), engine::errNumber(engine::ErrNotSupported));
      EXPECT_EQ(utf8(creator->error().source()), prefix + c.source);
    }
    EXPECT_FALSE(creator->objAttr(u"a"));
    EXPECT_EQ(creator->flag(), zorbel::FlagCall);
  }
}

using CreationScript = enginetest::HostFixture;

TEST_F(CreationScript, BindsNewAndCreateObjectInTheRoot) {
  run(u"Set c = New(\"Fennick.SvCollection\")\r\nc.Add 5\r\nOutLine c.Count\r\n"
      u"Set v = CreateObject(\"Jespin.VValues\")\r\nOutLine TypeName(v)\r\n"
      u"x = CreateObject\r\nOutLine x");
  EXPECT_EQ(rec->output(), "1\r\nVValues\r\n0\r\n");
}

}  // namespace
