// The automation-object bridge: root wrappers, children and parameterised
// children of an object reached by late binding, and what every call
// passes and answers.
#include <gtest/gtest.h>

#include <span>

#include "builtins/svactivex.h"
#include "builtins/svgeneral.h"
#include "builtins/svsingle.h"
#include "rt/activation.h"
#include "rt/convert.h"
#include "testsupport.h"

namespace {

using engine::SvActiveX;
using enginetest::utf8;
using rt::Ref;
using zorbel::ScriptValue;

// An automation object that counts what is asked of it.
class Probe final : public rt::Automation<Probe> {
 public:
  static const rt::MemberTable<Probe>& members() {
    static const auto table =
        rt::MemberTable<Probe>(u"Probe")
            .prop(u"Name",
                  [](Probe& p) {
                    ++p.reads;
                    return p.name;
                  },
                  [](Probe& p, const std::u16string& n) { p.name = n; })
            .method(u"Add",
                    [](Probe& p, std::span<rt::Variant> a) {
                      p.lastArgs.assign(a.begin(), a.end());
                      return static_cast<int32_t>(a.size());
                    })
            .get(u"Count", [](Probe&) { return int32_t{3}; })
            .get(u"Child",
                 [](Probe& p) {
                   if (!p.child) p.child = rt::make<Probe>();
                   return rt::Variant(static_cast<rt::Object*>(p.child.get()));
                 })
            .get(u"Item", [](Probe& p, int32_t i) { return p.name + u"#" + rt::toText(rt::Variant(i)); })
            .let(u"Item", [](Probe& p, int32_t i, const std::u16string& v) {
              p.name = v + u"@" + rt::toText(rt::Variant(i));
            })
            .set(u"Held", [](Probe& p, const rt::Variant& v) { p.held = v; })
            .method(u"Seven", [](Probe&) { return int32_t{7}; })
            .get(u"Value", [](Probe& p) { return u"default:" + p.name; })
            .byDefault();
    return table;
  }

  std::u16string name = u"p";
  int reads = 0;
  std::vector<rt::Variant> lastArgs;
  Ref<Probe> child;
  rt::Variant held;
};

rt::Variant objectVariant(rt::Object* o) { return rt::Variant(o); }
rt::Variant valueVariant(ScriptValue* v) { return rt::Variant(static_cast<rt::Object*>(v)); }

struct Fixture : ::testing::Test {
  Ref<Probe> probe = rt::make<Probe>();
  Ref<SvActiveX> root = rt::make<SvActiveX>();
  Fixture() { root->setValue(objectVariant(probe.get())); }

  Ref<SvActiveX> child(ScriptValue* parent, std::u16string_view name) {
    Ref<SvActiveX> c = rt::make<SvActiveX>();
    c->initChild(parent, name);
    return c;
  }
  Ref<engine::SvGeneral> list(int n) {
    Ref<engine::SvGeneral> l = rt::make<engine::SvGeneral>();
    for (int i = 1; i <= n; ++i) l->addSubs(engine::SvSingle::of(rt::Variant(int16_t(i))).get());
    return l;
  }
  std::string text(const rt::Variant& v) { return utf8(rt::toText(v)); }
  std::string sourceOf(ScriptValue& v) { return utf8(v.error().source()); }
};

using Bridge = Fixture;

TEST_F(Bridge, ARootHoldsItsObjectAndTakesOnlyObjects) {
  EXPECT_EQ(root->value().object(), static_cast<rt::Object*>(probe.get()));
  EXPECT_EQ(root->flag(), zorbel::FlagValue | zorbel::FlagCall);
  root->letValue(rt::Variant(int16_t{5}));  // ignored
  EXPECT_FALSE(root->hasError());
  EXPECT_EQ(root->value().object(), static_cast<rt::Object*>(probe.get()));
  root->setValue(rt::Variant(int16_t{5}));
  EXPECT_EQ(root->error().number(), rt::err::ObjectRequired);
  EXPECT_EQ(sourceOf(*root), "Kestrin.SvActiveX.Set_ScriptValue_Value\r\n");
  EXPECT_EQ(root->value().object(), static_cast<rt::Object*>(probe.get()));
  EXPECT_FALSE(root->objAttr(u"Nope"));
}

TEST_F(Bridge, AChildCallsItsObjectAtEachUseAndNeverBefore) {
  Ref<ScriptValue> name = root->attr(u"Name");
  EXPECT_EQ(probe->reads, 0);
  EXPECT_EQ(text(name->value()), "p");
  EXPECT_EQ(text(name->value()), "p");
  EXPECT_EQ(probe->reads, 2);
  name->letValue(rt::Variant(u"q"));
  EXPECT_EQ(probe->name, u"q");
  // A misspelt member surfaces at its use, in the child's record.
  Ref<ScriptValue> nope = root->attr(u"Nope");
  EXPECT_FALSE(nope->hasError());
  EXPECT_EQ(nope->value().type(), rt::VT::Empty);
  EXPECT_EQ(nope->error().number(), rt::err::NotSupported);
  EXPECT_EQ(sourceOf(*nope), "Kestrin.SvActiveX.Get_ScriptValue_Value\r\n");
}

TEST_F(Bridge, PassesEveryArgumentOfAList) {
  Ref<ScriptValue> add = root->attr(u"Add");
  for (int n : {1, 2, 5, 6, 12}) {
    Ref<ScriptValue> r = add->funCall(nullptr, list(n).get(), zorbel::ModeValue);
    ASSERT_TRUE(r) << n;
    EXPECT_EQ(text(r->value()), std::to_string(n));
    ASSERT_EQ(probe->lastArgs.size(), static_cast<size_t>(n));
    EXPECT_EQ(text(probe->lastArgs.back()), std::to_string(n));
  }
  add->funCall(nullptr, nullptr, zorbel::ModeStatement);
  EXPECT_TRUE(probe->lastArgs.empty());
  // One argument that is itself a list is passed as one object.
  Ref<ScriptValue> coll = rt::queryRef<ScriptValue>(rt::createObject(u"Fennick.SvCollection").get());
  ASSERT_TRUE(coll);
  add->funCall(nullptr, coll.get(), zorbel::ModeStatement);
  ASSERT_EQ(probe->lastArgs.size(), 1u);
  EXPECT_TRUE(probe->lastArgs[0].isObject());
  // More arguments than the member takes is its failure (450), not silence.
  Ref<ScriptValue> seven = root->attr(u"Seven");
  EXPECT_FALSE(seven->funCall(nullptr, list(2).get(), zorbel::ModeValue));
  EXPECT_EQ(seven->error().number(), rt::err::WrongArgumentCount);
}

TEST_F(Bridge, AnswersACallByTheResultMode) {
  Ref<ScriptValue> seven = root->attr(u"Seven");
  EXPECT_FALSE(seven->funCall(nullptr, nullptr, zorbel::ModeStatement));
  EXPECT_FALSE(seven->hasError());
  Ref<ScriptValue> plain = seven->funCall(nullptr, nullptr, zorbel::ModeValue);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->flag(), zorbel::FlagValue);
  EXPECT_EQ(text(plain->value()), "7");
  // An object was wanted and a number came.
  EXPECT_FALSE(seven->funCall(nullptr, nullptr, zorbel::ModeObject));
  EXPECT_EQ(seven->error().number(), rt::err::ObjectRequired);
  EXPECT_EQ(sourceOf(*seven), "Kestrin.SvActiveX.ScriptValue_FunCall\r\n");
  EXPECT_FALSE(seven->funCall(nullptr, nullptr, 9));  // no such mode: no call
  // Each call starts with a clear record.
  EXPECT_TRUE(seven->funCall(nullptr, nullptr, zorbel::ModeValue));
  EXPECT_FALSE(seven->hasError());

  Ref<ScriptValue> kid = root->attr(u"Child")->funCall(nullptr, nullptr, zorbel::ModeObject);
  ASSERT_TRUE(kid);
  EXPECT_EQ(kid->value().object(), static_cast<rt::Object*>(probe->child.get()));
}

TEST_F(Bridge, ResolvesAChainFromTheLeftAtEachUse) {
  // o.Child.Name: the Child object is fetched again at every read.
  Ref<ScriptValue> name = child(root->attr(u"Child").get(), u"Name");
  EXPECT_EQ(text(name->value()), "p");
  probe->child->name = u"changed";
  EXPECT_EQ(text(name->value()), "changed");
  // The Count of a child is the count of its parent's object.
  EXPECT_EQ(root->attr(u"Child")->count(), 3);
  // A parent that fails passes its failure on.
  Ref<ScriptValue> deeper = child(root->attr(u"Nope").get(), u"Name");
  deeper->value();
  EXPECT_EQ(deeper->error().number(), rt::err::NotSupported);
  EXPECT_EQ(sourceOf(*deeper),
            "Kestrin.SvActiveX.Get_ScriptValue_Value\r\nKestrin.SvActiveX.Get_ScriptValue_Value\r\n");
  // A parent whose value is no object.
  Ref<ScriptValue> onNumber = child(root->attr(u"Seven").get(), u"Name");
  onNumber->value();
  EXPECT_EQ(onNumber->error().number(), rt::err::ObjectRequired);
}

TEST_F(Bridge, ObjectWantedReadsTheMemberNowIntoANewRoot) {
  Ref<ScriptValue> kid = root->objAttr(u"Child");
  ASSERT_TRUE(kid);
  EXPECT_EQ(kid->value().object(), static_cast<rt::Object*>(probe->child.get()));
  EXPECT_FALSE(root->objAttr(u"Seven"));
  EXPECT_EQ(root->error().number(), rt::err::ObjectRequired);
  EXPECT_EQ(sourceOf(*root).rfind("Kestrin.SvActiveX.ScriptValue_ObjAttr\r\n", 0), 0u);
}

TEST_F(Bridge, IndexesAMemberWithItsArgumentObject) {
  Ref<ScriptValue> item = root->attr(u"Item");
  Ref<ScriptValue> one = engine::SvSingle::of(rt::Variant(int16_t{1}));
  Ref<ScriptValue> first = item->subs(valueVariant(one.get()), zorbel::ModeValue);
  ASSERT_TRUE(first);
  EXPECT_EQ(text(first->value()), "p#1");
  first->letValue(rt::Variant(u"v"));  // parameters first, the value last
  EXPECT_EQ(probe->name, u"v@1");
  EXPECT_FALSE(item->subs(rt::Variant(int16_t{1}), zorbel::ModeValue));
  EXPECT_EQ(item->error().number(), rt::err::ObjectRequired);

  // In the object-wanted mode every read makes a new root wrapper.
  Ref<ScriptValue> kids = root->attr(u"Child")->subs(rt::Variant(nullptr), zorbel::ModeObject);
  ASSERT_TRUE(kids);
  rt::Variant a = kids->value(), b = kids->value();
  ASSERT_TRUE(a.isObject() && b.isObject());
  EXPECT_NE(a.object(), b.object());
  Ref<ScriptValue> wrapped = rt::queryRef<ScriptValue>(a.object());
  EXPECT_EQ(wrapped->value().object(), static_cast<rt::Object*>(probe->child.get()));

  // Indexing a root reaches its object's default member.
  Ref<ScriptValue> byDefault = root->subs(rt::Variant(nullptr), zorbel::ModeValue);
  EXPECT_EQ(text(byDefault->value()), "default:v@1");
}

TEST_F(Bridge, AssignsObjectsByReference) {
  Ref<Probe> other = rt::make<Probe>();
  Ref<ScriptValue> held = root->attr(u"Held");
  held->setValue(objectVariant(other.get()));
  EXPECT_FALSE(held->hasError());
  EXPECT_EQ(probe->held.object(), static_cast<rt::Object*>(other.get()));
  held->letValue(rt::Variant(1));  // Held has no property let
  EXPECT_EQ(held->error().number(), rt::err::NotSupported);
  EXPECT_EQ(sourceOf(*held), "Kestrin.SvActiveX.Let_ScriptValue_Value\r\n");
}

TEST_F(Bridge, IsCreatableAndInitialisedByItsMembers) {
  Ref<ScriptValue> made = rt::queryRef<ScriptValue>(rt::createObject(u"Kestrin.SvActiveX").get());
  ASSERT_TRUE(made);
  rt::Variant args[] = {valueVariant(root.get()), rt::Variant(u"Name")};
  rt::callByName(made.get(), u"InitChild", rt::Method, args);
  EXPECT_EQ(text(made->value()), "p");
}

}  // namespace
