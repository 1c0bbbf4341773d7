// The binding rules of the root and body spaces.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "builtins/hostio.h"
#include "builtins/svconstant.h"
#include "builtins/svsingle.h"
#include "core/bindings.h"
#include "core/errors.h"
#include "core/ssbody.h"
#include "core/ssroot.h"
#include "rt/dispatch.h"
#include "rt/stack.h"
#include "testsupport.h"

namespace {

using engine::SsBody;
using engine::SsRoot;
using engine::SvSingle;
using rt::Ref;
using zorbel::ScriptValue;

std::string typeOf(ScriptValue* v) {
  auto* d = v ? static_cast<rt::Dispatch*>(v->query(rt::Dispatch::iid)) : nullptr;
  return d ? enginetest::utf8(d->typeName()) : "?";
}

std::string text(ScriptValue* v) { return enginetest::utf8(rt::toText(v->value())); }

// A root with a body under it, as a host makes them.
struct Chain {
  Ref<SsRoot> root = rt::make<SsRoot>();
  Ref<SsBody> body = rt::make<SsBody>();
  Chain() { body->setParent(root.get()); }
};

Ref<ScriptValue> holding(rt::Variant v, std::u16string_view key = {}) {
  Ref<ScriptValue> s = SvSingle::of(std::move(v));
  s->setKey(key);
  return s;
}

TEST(RootSpace, ReadingANameNeverFails) {
  Chain c;
  Ref<ScriptValue> x = c.root->value(u"x");
  ASSERT_TRUE(x);
  EXPECT_EQ(x->value().type(), rt::VT::Integer);
  EXPECT_EQ(c.root->value(u"X").get(), x.get());  // case-blind, the same variable
  EXPECT_TRUE(c.root->existValue(u"x"));
  EXPECT_FALSE(c.root->existValue(u"y"));
}

TEST(RootSpace, LibraryFunctionsAreMadeAnewAndKeyedAsWritten) {
  Chain c;
  Ref<ScriptValue> a = c.root->value(u"ABS");
  Ref<ScriptValue> b = c.root->value(u"abs");
  ASSERT_TRUE(a && b);
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(enginetest::utf8(a->key()), "ABS");
  EXPECT_EQ(enginetest::utf8(b->key()), "abs");
  EXPECT_TRUE(c.root->existValue(u"Abs"));
  // A variable of that name hides the function from then on.
  c.root->setValue(u"Abs", holding(rt::Variant(int32_t{7})).get());
  EXPECT_EQ(text(c.root->value(u"abs").get()), "7");
}

TEST(RootSpace, LetAssignsAnExistingVariableOrBindsTheValue) {
  Chain c;
  Ref<ScriptValue> x = c.root->value(u"x");
  c.root->letValue(u"x", holding(rt::Variant(u"a")).get());
  EXPECT_EQ(c.root->value(u"x").get(), x.get());
  EXPECT_EQ(text(x.get()), "a");
  Ref<ScriptValue> v = holding(rt::Variant(int32_t{3}));
  c.root->letValue(u"NewName", v.get());
  EXPECT_EQ(c.root->value(u"newname").get(), v.get());
  EXPECT_EQ(enginetest::utf8(v->key()), "NewName");
}

TEST(RootSpace, SetRebindsAndNothingUnbinds) {
  Chain c;
  Ref<ScriptValue> first = c.root->value(u"x");
  Ref<ScriptValue> v = holding(rt::Variant(int32_t{1}));
  c.root->setValue(u"x", v.get());
  EXPECT_EQ(c.root->value(u"x").get(), v.get());
  c.root->setValue(u"x", nullptr);
  EXPECT_FALSE(c.root->existValue(u"x"));
}

TEST(RootSpace, DeclarationsRecordBareCodes) {
  Chain c;
  Ref<ScriptValue> n = c.root->newValue(u"n", u"long");
  ASSERT_TRUE(n);
  EXPECT_EQ(typeOf(n.get()), "SvLong");
  EXPECT_EQ(enginetest::utf8(n->key()), "n");
  EXPECT_FALSE(c.root->error().haveErr());

  EXPECT_FALSE(c.root->newValue(u"N", u"String"));
  EXPECT_EQ(c.root->error().number(), 201);
  EXPECT_EQ(c.root->errCode(), 201);
  EXPECT_FALSE(c.root->newValue(u"m", u"Foo"));
  EXPECT_EQ(c.root->error().number(), 202);
  EXPECT_EQ(c.root->errCode(), 202);
  EXPECT_EQ(enginetest::utf8(c.root->error().source()), "Kestrin.SsRoot.ScriptSpace_NewValue");
}

TEST(RootSpace, TheTypeMapNamesTheValueClasses) {
  Chain c;
  const char16_t* types[] = {u"Boolean", u"String", u"Long", u"Date", u"Double",
                             u"Integer", u"Variant", u"Collection", u"Object"};
  for (const char16_t* t : types) {
    Ref<ScriptValue> v = c.root->newValue(std::u16string(u"v_") + t, t);
    ASSERT_TRUE(v) << enginetest::utf8(t);
    EXPECT_EQ(typeOf(v.get()), "Sv" + enginetest::utf8(t));
  }
  EXPECT_EQ(c.root->typeDefs()->count(), 9);
}

TEST(BodySpace, ReadsThroughTheChainAndCreatesLocally) {
  Chain c;
  Ref<ScriptValue> g = c.root->value(u"g");
  EXPECT_EQ(c.body->value(u"G").get(), g.get());
  Ref<ScriptValue> fresh = c.body->value(u"fresh");
  EXPECT_FALSE(c.root->existValue(u"fresh"));  // made in the body, where the lookup began
  EXPECT_EQ(c.body->value(u"fresh").get(), fresh.get());

  Ref<SsBody> orphan = rt::make<SsBody>();
  EXPECT_TRUE(orphan->value(u"x"));
  EXPECT_EQ(enginetest::errorOf([&] { orphan->typeDefs(); }), rt::err::ObjectNotSet);
  EXPECT_FALSE(orphan->error().haveErr());
}

TEST(BodySpace, LetLandsWhereTheNameIsBound) {
  Chain c;
  Ref<ScriptValue> g = c.root->value(u"g");
  c.body->letValue(u"g", holding(rt::Variant(int32_t{5})).get());
  EXPECT_EQ(text(g.get()), "5");
  Ref<ScriptValue> v = holding(rt::Variant(int32_t{6}));
  c.body->letValue(u"local", v.get());
  EXPECT_EQ(c.body->value(u"local").get(), v.get());
  EXPECT_FALSE(c.root->existValue(u"local"));
}

// What a rebinding of a local name leaves bound under it: the given value
// itself, or an alias of it when another name has it, or for a constant a
// new holder of what it holds.  What the name stood for is never changed.
TEST(BodySpace, SetOfALocalName) {
  struct Row {
    const char* what;
    std::function<Ref<ScriptValue>(Chain&)> value;
    // "value": the given value is bound; "alias": an alias of the given
    // value is bound; "held": a new holder of the given value's value;
    // "none": unbound.
    const char* bound;
  };
  const Row rows[] = {
      {"null unbinds", [](Chain&) { return Ref<ScriptValue>(); }, "none"},
      {"an anonymous result is bound", [](Chain&) { return holding(rt::Variant(int32_t{1})); },
       "value"},
      {"a callable value is bound", [](Chain& c) { return c.root->value(u"Abs"); }, "value"},
      {"a value of the same name is bound itself",
       [](Chain&) { return holding(rt::Variant(int32_t{2}), u"X"); }, "value"},
      {"a value of another name is bound through an alias",
       [](Chain& c) {
         Ref<ScriptValue> b = c.body->value(u"b");
         b->letValue(rt::Variant(int32_t{3}));
         return b;
       },
       "alias"},
      {"a value holding an object of another name, through an alias",
       [](Chain& c) { return holding(rt::Variant(static_cast<rt::Object*>(c.root.get())), u"o"); },
       "alias"},
      {"the constant Nothing gives a variable holding Nothing",
       [](Chain&) {
         return Ref<ScriptValue>(rt::make<engine::SvConstant>(u"Nothing", rt::Variant(nullptr)));
       },
       "held"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Chain c;
    Ref<ScriptValue> local = c.body->value(u"x");
    local->letValue(rt::Variant(int32_t{8}));
    Ref<ScriptValue> v = r.value(c);
    const engine::Shape shape = c.body->shape();
    c.body->setValue(u"x", v.get());
    EXPECT_EQ(text(local.get()), "8");  // what x stood for is not changed
    std::string bound = r.bound;
    if (bound == "none") {
      EXPECT_FALSE(c.body->existValue(u"x"));
      continue;
    }
    EXPECT_EQ(c.body->shape(), shape);  // rebound in place
    Ref<ScriptValue> now = c.body->value(u"x");
    EXPECT_NE(now.get(), local.get());
    if (bound == "value") {
      EXPECT_EQ(now.get(), v.get());
      EXPECT_EQ(enginetest::utf8(v->key()).size(), 1u);  // re-keyed to "x" or "X"
    } else if (bound == "held") {
      EXPECT_NE(now.get(), v.get());
      EXPECT_TRUE(now->value().isNothing());
      now->letValue(rt::Variant(int32_t{1}));  // a variable again
      EXPECT_EQ(text(now.get()), "1");
    } else {
      EXPECT_NE(now.get(), v.get());
      EXPECT_EQ(enginetest::utf8(now->key()), "x");
      EXPECT_EQ(enginetest::utf8(v->key()), v->value().isObject() ? "o" : "b");
      now->letValue(rt::Variant(int32_t{9}));  // through the alias
      EXPECT_EQ(text(v.get()), "9");
    }
  }
}

TEST(BodySpace, SetOfANameThatIsNotLocal) {
  Chain c;
  Ref<ScriptValue> g = c.root->value(u"g");
  // A value whose Flag is exactly 4 (callable, nothing else) binds locally.
  Ref<ScriptValue> output = rt::make<engine::SvOutput>();
  ASSERT_EQ(output->flag(), zorbel::FlagCall);
  c.body->setValue(u"g", output.get());
  EXPECT_EQ(c.body->value(u"g").get(), output.get());
  EXPECT_EQ(c.root->value(u"g").get(), g.get());
  c.body->setValue(u"g", nullptr);
  Ref<ScriptValue> v = holding(rt::Variant(int32_t{1}));
  c.body->setValue(u"g", v.get());  // the ancestor that has the name rebinds it
  EXPECT_EQ(c.root->value(u"g").get(), v.get());
  Ref<ScriptValue> w = holding(rt::Variant(int32_t{2}));
  c.body->setValue(u"nowhere", w.get());
  EXPECT_EQ(c.body->value(u"nowhere").get(), w.get());
  EXPECT_FALSE(c.root->existValue(u"nowhere"));
  // Unbinding a name the body does not hold unbinds it where it is bound.
  c.body->setValue(u"g", nullptr);
  EXPECT_FALSE(c.root->existValue(u"g"));
  c.body->setValue(u"unknown", nullptr);
  EXPECT_FALSE(c.body->existValue(u"unknown"));
}

// A name operand keeps the library that has a name bound nowhere: each
// lookup makes a fresh function keyed as written, until the name is bound
// on the way or the libraries change.
TEST(BodySpace, KeptLibraryLookups) {
  Chain c;
  engine::NameCache cache;
  auto lookUp = [&](zorbel::ScriptSpace& ss, std::u16string_view name) {
    engine::Operand out;
    engine::resolve(ss, name, cache, out);
    return rt::Ref<zorbel::ScriptValue>(out.object());
  };
  Ref<ScriptValue> first = lookUp(*c.body, u"Len");
  ASSERT_TRUE(first && cache.library);
  Ref<ScriptValue> again = lookUp(*c.body, u"LEN");
  ASSERT_TRUE(again);
  EXPECT_NE(again.get(), first.get());
  EXPECT_EQ(enginetest::utf8(again->key()), "LEN");
  EXPECT_EQ(typeOf(again.get()), "SvStrFuns");
  // Another chain of the same shapes has other libraries.
  Chain other;
  EXPECT_FALSE(engine::keptLibrary(other.body.get(), cache));
  lookUp(*c.body, u"Len");
  EXPECT_TRUE(engine::keptLibrary(c.body.get(), cache));
  engine::librariesChanged();
  EXPECT_FALSE(engine::keptLibrary(c.body.get(), cache));
  EXPECT_EQ(typeOf(lookUp(*c.body, u"Len").get()), "SvStrFuns");
  // Bound in the root, then in the body: that value.
  Ref<ScriptValue> inRoot = holding(rt::Variant(int16_t{5}));
  c.root->setValue(u"Len", inRoot.get());
  EXPECT_EQ(lookUp(*c.body, u"Len").get(), inRoot.get());
  c.root->setValue(u"Len", nullptr);
  EXPECT_EQ(typeOf(lookUp(*c.body, u"Len").get()), "SvStrFuns");
  Ref<ScriptValue> output = rt::make<engine::SvOutput>();
  c.body->setValue(u"Len", output.get());
  EXPECT_EQ(lookUp(*c.body, u"Len").get(), output.get());
  // Looked up from the root itself.
  engine::NameCache fromRoot;
  engine::Operand out;
  engine::resolve(*c.root, u"Mid", fromRoot, out);
  engine::resolve(*c.root, u"Mid", fromRoot, out);
  EXPECT_EQ(typeOf(out.object()), "SvStrFuns");
  EXPECT_TRUE(fromRoot.library);
}

TEST(BodySpace, DeclarationsAreLocalAndReportThroughTheRoot) {
  Chain c;
  c.root->value(u"x");
  Ref<ScriptValue> x = c.body->newValue(u"x", u"Integer");  // beside the root's x
  ASSERT_TRUE(x);
  EXPECT_EQ(c.body->value(u"x").get(), x.get());

  EXPECT_FALSE(c.body->newValue(u"X", u"Long"));
  EXPECT_EQ(c.root->error().number(), engine::errNumber(engine::ErrDefinedTwice));
  EXPECT_EQ(c.root->errCode(), 0);
  EXPECT_FALSE(c.body->newValue(u"y", u"Nope"));
  EXPECT_EQ(c.root->error().number(), engine::errNumber(engine::ErrBadType));
  EXPECT_EQ(c.root->errCode(), engine::ErrBadType);
  // A declaration that works does not inherit the error left before it.
  EXPECT_TRUE(c.body->newValue(u"z", u"Double"));
  EXPECT_FALSE(c.root->error().haveErr());
}

TEST(BodySpace, SharesTheRootsState) {
  Chain c;
  c.body->setRunStop(true);
  EXPECT_TRUE(c.root->runStop());
  c.body->setErrString(u"e");
  EXPECT_EQ(enginetest::utf8(c.root->errString()), "e");
  EXPECT_EQ(c.body->typeDefs().get(), c.root->typeDefs().get());
  EXPECT_EQ(c.body->withStack().get(), c.root->withStack().get());
  EXPECT_EQ(&c.body->error(), &c.root->error());
}

// A space never becomes its own ancestor: the parent stays as it was.
TEST(BodySpace, RefusesToBecomeItsOwnAncestor) {
  Chain c;
  Ref<SsBody> a = rt::make<SsBody>(), b = rt::make<SsBody>();
  a->setParent(c.body.get());
  b->setParent(a.get());
  const struct {
    const char* what;
    SsBody* space;
    SsBody* parent;
  } cases[] = {{"itself", c.body.get(), c.body.get()},
               {"its child", c.body.get(), a.get()},
               {"through a chain of three", c.body.get(), b.get()},
               {"a child's own", a.get(), b.get()}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    Ref<zorbel::ScriptSpace> before = k.space->parent();
    EXPECT_EQ(enginetest::errorOf([&] { k.space->setParent(k.parent); }), rt::err::InvalidCall);
    EXPECT_EQ(k.space->parent().get(), before.get());
  }
  EXPECT_TRUE(b->find(u"Abs"));  // the chain still reaches the libraries
}

// A chain deeper than the stack holds (a small one here), linked by hand:
// nothing overflows the stack.
TEST(BodySpace, AChainDeeperThanTheStackIsBounded) {
  Chain c;
  std::vector<Ref<SsBody>> chain{c.body};
  for (int i = 0; i < 50000; ++i) {
    chain.push_back(rt::make<SsBody>());
    chain.back()->setParent(chain[chain.size() - 2].get());
  }
  SsBody& deepest = *chain.back();
  int32_t exist = 0, value = 0;
  bool stop = true;
  ASSERT_TRUE(rt::stack::runOnNewStack(256 * 1024, [&] {
    exist = enginetest::errorOf([&] { deepest.existValue(u"x"); });
    value = enginetest::errorOf([&] { deepest.value(u"x"); });
    stop = deepest.runStop();
    deepest.setErrCode(3);
    (void)deepest.error();
  }));
  // A lookup the compiler made a loop of answers; one that recurses fails.
  EXPECT_TRUE(exist == 0 || exist == rt::err::OutOfStackSpace) << exist;
  EXPECT_TRUE(value == 0 || value == rt::err::OutOfStackSpace) << value;
  EXPECT_FALSE(stop);
  // Let go from the deepest, so that no release runs down the whole chain.
  while (!chain.empty()) chain.pop_back();
}

TEST(Spaces, AreReachedByName) {
  Chain c;
  c.root->value(u"x")->letValue(rt::Variant(int32_t{4}));
  rt::Variant name(u"x");
  rt::Variant v = rt::callByName(c.body.get(), u"Value", rt::PropGet, std::span<rt::Variant>(&name, 1));
  ASSERT_TRUE(v.isObject());
  EXPECT_EQ(text(rt::queryRef<ScriptValue>(v.object()).get()), "4");
  EXPECT_TRUE(rt::toBool(rt::callByName(c.body.get(), u"ExistValue", rt::PropGet,
                                        std::span<rt::Variant>(&name, 1))));
}

}  // namespace
