// The automation-object value and its bound members, driven against a fake
// automation object that records every call: call kind, member, argument
// order, default member, indexed reads and assignments, chains, and what the
// error records hold afterwards.
#include <gtest/gtest.h>

#include "bound.h"
#include "fakes.h"
#include "objectvalue.h"

namespace {

using fennick::SvObject;
using fennick_test::args;
using fennick_test::errorOf;
using fennick_test::Recorder;
using fennick_test::single;
using rt::Variant;
using zorbel::ScriptValue;

Variant num(int32_t n) { return Variant(n); }

std::string describe(const std::vector<Recorder::Call>& calls) {
  std::string s;
  for (const Recorder::Call& c : calls) {
    s += (c.name.empty() ? std::string("<default>") : rt::toUtf8(c.name)) + "/" +
         std::to_string(c.kinds) + "(";
    for (size_t i = 0; i < c.args.size(); ++i)
      s += (i ? "," : "") +
           (c.args[i].isObject() ? std::string("obj") : rt::toUtf8(rt::toText(c.args[i])));
    s += ")";
  }
  return s;
}

struct Fixture {
  rt::Ref<Recorder> rec = fennick_test::newRecorder();
  rt::Ref<SvObject> obj = rt::make<SvObject>();
  Fixture() { obj->setValue(Variant(rec)); }
  // The error record's number and its source without the owner in front.
  std::pair<int32_t, std::u16string> recorded(ScriptValue& v) {
    std::u16string src = v.error().sourceFull();
    std::u16string owner = v.error().parentApp() + u"." + v.error().parentMod() + u".";
    return {v.error().number(), src.substr(owner.size(), src.find(u'\r') - owner.size())};
  }
};

// What a result holds: "none", "var:<text>" (an SvVariant) or "obj:<object>"
// ("obj:held", "obj:other", "obj:nothing").
std::string held(const rt::Ref<ScriptValue>& r, rt::Object* heldObject) {
  if (!r) return "none";
  Variant v = r->value();
  if (r->flag() == 69) {
    if (!v.object()) return "obj:nothing";
    return v.object() == heldObject ? "obj:held" : "obj:other";
  }
  if (v.isObject()) return v.object() == heldObject ? "var:held" : "var:obj";
  return "var:" + rt::toUtf8(rt::toText(v));
}

TEST(ObjectValue, CallFamily) {
  const int32_t ObjectRequired = rt::err::ObjectRequired;
  struct Case {
    const char* what;
    std::function<rt::Ref<ScriptValue>(SvObject&)> act;
    std::string calls, result;
    int32_t number;
    std::u16string source;
  };
  auto other = rt::make<Recorder>();
  const Case cases[] = {
      {"method, result dropped",
       [](SvObject& o) {
         return o.objFunCall(u"Name", nullptr, args({num(1), num(2)}).get(), 0);
       },
       "Name/1(1,2)", "none", 0, u""},
      {"method, value of six arguments",
       [](SvObject& o) {
         return o.objFunCall(u"name", nullptr,
                             args({num(1), num(2), num(3), num(4), num(5), num(6)}).get(), 1);
       },
       "Name/1(1,2,3,4,5,6)", "var:rec", 0, u""},
      {"method, object", [](SvObject& o) { return o.objFunCall(u"Child", nullptr, nullptr, 2); },
       "Child/1()", "obj:other", 0, u""},
      {"method, object wanted but a value came",
       [](SvObject& o) { return o.objFunCall(u"Name", nullptr, nullptr, 2); }, "Name/1()", "none",
       ObjectRequired, u"ObjFunCall"},
      {"method, mode 3", [](SvObject& o) { return o.objFunCall(u"Name", nullptr, nullptr, 3); }, "",
       "none", 0, u""},
      {"method missing", [](SvObject& o) { return o.objFunCall(u"Nope", nullptr, nullptr, 1); }, "",
       "none", 438, u"ObjFunCall"},
      {"empty list: no arguments",
       [](SvObject& o) { return o.objFunCall(u"Name", nullptr, args({}).get(), 1); }, "Name/1()",
       "var:rec", 0, u""},
      {"get, one argument",
       [](SvObject& o) { return o.objCallGet(u"Item", single(num(7)).get(), 1); }, "Item/2(7)",
       "var:42", 0, u""},
      {"get, statement mode reads a value",
       [](SvObject& o) { return o.objCallGet(u"Item", nullptr, 0); }, "Item/2()", "var:42", 0, u""},
      {"get, object", [](SvObject& o) { return o.objCallGet(u"Child", nullptr, 2); }, "Child/2()",
       "obj:other", 0, u""},
      {"default, no arguments", [](SvObject& o) { return o.objCallGet(u"", nullptr, 1); }, "",
       "var:held", 0, u""},
      {"default object, no arguments", [](SvObject& o) { return o.objCallGet(u"", nullptr, 2); },
       "", "obj:held", 0, u""},
      {"default with arguments",
       [](SvObject& o) {
         return o.objCallGet(u"", args({num(1), num(2)}).get(), 1);
       },
       "<default>/2(1,2)", "var:default", 0, u""},
      {"get, mode -1", [](SvObject& o) { return o.objCallGet(u"Item", nullptr, -1); }, "", "none",
       0, u""},
      {"let with an index",
       [](SvObject& o) {
         o.objCallLet(u"Item", Variant(u"v"), args({num(1), num(2)}).get());
         return nullptr;
       },
       "Item/4(1,2,v)", "none", 0, u""},
      {"let with one argument value",
       [](SvObject& o) {
         o.objCallLet(u"Item", Variant(u"v"), single(num(3)).get());
         return nullptr;
       },
       "Item/4(3,v)", "none", 0, u""},
      {"let of the default alone",
       [](SvObject& o) {
         o.objCallLet(u"", Variant(u"v"), nullptr);
         return nullptr;
       },
       "<default>/4(v)", "none", 0, u""},
      {"set by name",
       [other](SvObject& o) {
         o.objCallSet(u"Child", Variant(other), nullptr);
         return nullptr;
       },
       "Child/8(obj)", "none", 0, u""},
      {"set of the default alone",
       [other](SvObject& o) {
         o.objCallSet(u"", Variant(other), nullptr);
         return nullptr;
       },
       "<default>/8(obj)", "none", 0, u""},
      {"let of a missing member",
       [](SvObject& o) {
         o.objCallLet(u"Nope", num(1), nullptr);
         return nullptr;
       },
       "", "none", 438, u"ObjCallLet"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fixture f;
    f.obj->count();  // leaves an earlier success in the record
    f.rec->calls.clear();
    rt::Ref<ScriptValue> r = c.act(*f.obj);
    EXPECT_EQ(describe(f.rec->calls), c.calls);
    EXPECT_EQ(held(r, f.rec.get()), c.result);
    EXPECT_EQ(f.recorded(*f.obj), std::make_pair(c.number, c.source));
  }
}

TEST(ObjectValue, NoHeldObject) {
  auto o = rt::make<SvObject>();
  EXPECT_TRUE(o->value().isNothing());
  EXPECT_EQ(o->flag(), 69);
  EXPECT_FALSE(o->objFunCall(u"X", nullptr, nullptr, 2));
  EXPECT_FALSE(o->error().haveErr());
  EXPECT_FALSE(o->objFunCall(u"X", nullptr, nullptr, 1));
  EXPECT_EQ(o->error().number(), rt::err::ObjectNotSet);
  EXPECT_EQ(o->count(), 0);
  EXPECT_EQ(o->error().number(), rt::err::ObjectNotSet);
  EXPECT_EQ(o->error().sourceFull().substr(0, 34), u"Fennick.SvObject.ScriptValue_Count");
}

TEST(ObjectValue, ValueAccessors) {
  Fixture f;
  EXPECT_EQ(f.obj->count(), 3);
  EXPECT_EQ(describe(f.rec->calls), "Count/2()");
  f.obj->letValue(num(5));
  EXPECT_EQ(f.recorded(*f.obj), std::make_pair(static_cast<int32_t>(0x800403EC),
                                               std::u16string(u"Let_ScriptValue_Value")));
  EXPECT_EQ(f.obj->error().description(), u"非法调用，使用了对象不支持属性或方法。");
  EXPECT_EQ(f.obj->value().object(), static_cast<rt::Object*>(f.rec.get()));
  f.obj->setValue(num(5));
  EXPECT_EQ(f.recorded(*f.obj).first, rt::err::ObjectRequired);
  f.obj->letValue(Variant(nullptr));
  EXPECT_FALSE(f.obj->error().haveErr());
  EXPECT_TRUE(f.obj->value().isNothing());
}

TEST(BoundMembers, ReadAssignAndCall) {
  Fixture f;
  rt::Ref<ScriptValue> name = f.obj->attr(u"Name");
  EXPECT_EQ(name->flag(), 5);
  EXPECT_EQ(name->value().text(), u"rec");
  rt::Ref<ScriptValue> child = f.obj->objAttr(u"Child");
  EXPECT_EQ(child->value().object() != nullptr, true);

  // Indexing gives a new member bound to the index's arguments.
  rt::Ref<ScriptValue> item = f.obj->attr(u"Item");
  rt::Ref<ScriptValue> indexed = item->subs(Variant(args({num(1), num(2)})), 1);
  EXPECT_EQ(indexed->value().longValue(), 42);
  indexed->letValue(Variant(u"v"));
  item->letValue(Variant(u"w"));
  EXPECT_EQ(describe(f.rec->calls), "Name/2()Child/2()Item/2(1,2)Item/4(1,2,v)Item/4(w)");

  f.rec->calls.clear();
  rt::Ref<ScriptValue> r = name->funCall(nullptr, args({num(1), num(2)}).get(), 1);
  EXPECT_EQ(r->value().text(), u"rec");
  // The default member through the object value's call and index forms.
  EXPECT_EQ(f.obj->funCall(nullptr, single(num(3)).get(), 1)->value().text(), u"default");
  EXPECT_EQ(f.obj->subs(Variant(single(num(4))), 1)->value().text(), u"default");
  EXPECT_EQ(describe(f.rec->calls), "Name/1(1,2)<default>/2(3)<default>/2(4)");
  EXPECT_EQ(f.obj->subs(num(4), 1), nullptr);  // an index that holds no script value
  EXPECT_EQ(f.obj->error().number(), rt::err::ObjectRequired);
}

TEST(BoundMembers, ChainsReadEachLinkAsAnObject) {
  Fixture f;
  rt::Ref<ScriptValue> name = f.obj->attr(u"Child")->attr(u"Name");
  EXPECT_EQ(describe(f.rec->calls), "Child/2()");
  EXPECT_EQ(name->value().text(), u"rec");
  rt::Ref<ScriptValue> byDefault = f.obj->funCall(nullptr, single(num(1)).get(), 2);
  EXPECT_EQ(byDefault->attr(u"Name"), nullptr);  // the default member gives text, not an object
  EXPECT_EQ(f.recorded(*byDefault).first, rt::err::ObjectRequired);
  EXPECT_EQ(f.recorded(*byDefault).second, u"ScriptValue_Attr");
}

TEST(BoundMembers, RecordsStartClearAndKeepTheRealCause) {
  Fixture f;
  rt::Ref<ScriptValue> name = f.obj->attr(u"Name");
  f.rec->failNext = true;
  EXPECT_EQ(name->funCall(nullptr, nullptr, 1), nullptr);
  EXPECT_EQ(f.recorded(*name), std::make_pair(5, std::u16string(u"ScriptValue_FunCall")));
  EXPECT_TRUE(name->funCall(nullptr, nullptr, 1));
  EXPECT_FALSE(name->error().haveErr());

  // A failed read raises what really went wrong.
  rt::Ref<ScriptValue> missing = f.obj->attr(u"Nope");
  try {
    missing->value();
    ADD_FAILURE() << "no error raised";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 438);
    EXPECT_NE(e.description().find(u"Nope"), std::u16string::npos);
  }
  EXPECT_EQ(f.recorded(*missing), std::make_pair(438, std::u16string(u"Get_ScriptValue_Value")));
  EXPECT_EQ(f.recorded(*f.obj), std::make_pair(438, std::u16string(u"ObjCallGet")));
  EXPECT_EQ(missing->attr(u"X"), nullptr);
  EXPECT_EQ(f.recorded(*missing), std::make_pair(438, std::u16string(u"ScriptValue_Attr")));

  struct Unsupported {
    rt::Ref<ScriptValue> member;
    std::function<void(ScriptValue&)> act;
    std::u16string source;
  };
  rt::Ref<ScriptValue> attr = f.obj->funCall(nullptr, nullptr, 1);
  const Unsupported cases[] = {
      {name, [](ScriptValue& v) { EXPECT_EQ(v.count(), 0); }, u"ScriptValue_Count"},
      {attr, [](ScriptValue& v) { EXPECT_EQ(v.count(), 0); }, u"ScriptValue_Count"},
      {attr, [](ScriptValue& v) { EXPECT_FALSE(v.subs(Variant(single(num(1))), 1)); },
       u"ScriptValue_Subs"},
  };
  for (const Unsupported& u : cases) {
    u.act(*u.member);
    EXPECT_EQ(f.recorded(*u.member), std::make_pair(static_cast<int32_t>(0x800403EC), u.source));
  }
  // A call by the default member's empty name is no method call.
  EXPECT_EQ(attr->funCall(nullptr, nullptr, 1), nullptr);
  EXPECT_EQ(f.recorded(*attr), std::make_pair(438, std::u16string(u"ScriptValue_FunCall")));
}

TEST(BoundMembers, WithoutAParent) {
  auto fns = rt::make<fennick::SvObjFns>();
  EXPECT_EQ(fns->reFlag(), 1);
  EXPECT_TRUE(fns->value().isNothing());
  fns->letValue(num(1));
  EXPECT_EQ(fns->error().number(), rt::err::ObjectNotSet);
  auto attr = rt::make<fennick::SvObjAttr>();
  EXPECT_EQ(attr->funCall(nullptr, nullptr, 1), nullptr);
  EXPECT_EQ(attr->error().number(), rt::err::ObjectNotSet);
}

}  // namespace
