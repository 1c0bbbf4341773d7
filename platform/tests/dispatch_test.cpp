#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "rt/dispatch.h"
#include "rt/errobject.h"
#include "rt/events.h"
#include "rt/testing.h"

namespace {

using rt::testing::errorOf;

using rt::Ref;
using rt::Variant;

// A class with one member of each shape the tables support.
class Sample final : public rt::Automation<Sample> {
 public:
  static const rt::MemberTable<Sample>& members() {
    static const auto t =
        rt::MemberTable<Sample>(u"Sample")
            .prop(u"Name", &Sample::name, &Sample::setName)
            .byDefault()
            .method(u"Join", &Sample::join)
            .method(u"Swap", [](Sample&, Variant& a, Variant& b) { a.swap(b); })
            .method(u"Count", [](Sample&, std::span<Variant> args) {
              return static_cast<int32_t>(args.size());
            })
            .get(u"Item", [](Sample& s, int32_t i) { return s.items_[i]; })
            .let(u"Item", [](Sample& s, int32_t i, std::u16string v) { s.items_[i] = v; })
            .set(u"Link", [](Sample& s, Ref<rt::Object> o) { s.link_ = o; })
            .get(u"Link", [](Sample& s) { return Variant(s.link_); });
    return t;
  }

  std::u16string name() const { return name_; }
  void setName(std::u16string n) { name_ = std::move(n); }
  std::u16string join(std::u16string a, std::optional<std::u16string> sep,
                      std::optional<std::u16string> b) {
    return a + sep.value_or(u"-") + b.value_or(u"?");
  }

  std::u16string items_[3];
  Ref<rt::Object> link_;

 private:
  std::u16string name_ = u"first";
};

TEST(Dispatch, MembersByNameAndKind) {
  auto s = rt::make<Sample>();
  rt::Object* o = s.get();
  EXPECT_EQ(rt::getProperty(o, u"NAME").text(), u"first");
  rt::letProperty(o, u"name", Variant(u"second"));
  EXPECT_EQ(rt::callDefault(o, rt::PropGet).text(), u"second");

  Variant one[] = {Variant(u"a")};
  Variant three[] = {Variant(u"a"), Variant(u"+"), Variant(u"b")};
  EXPECT_EQ(rt::callByName(o, u"join", rt::Method, one).text(), u"a-?");
  EXPECT_EQ(rt::callByName(o, u"join", rt::Method, three).text(), u"a+b");
  // A method read like a property works as late-bound callers expect.
  EXPECT_EQ(rt::callByName(o, u"join", rt::PropGet, one).text(), u"a-?");

  Variant many[] = {Variant(), Variant(), Variant(), Variant()};
  EXPECT_EQ(rt::callByName(o, u"Count", rt::Method, many).longValue(), 4);
}

TEST(Dispatch, ByReferenceArguments) {
  auto s = rt::make<Sample>();
  Variant args[] = {Variant(u"left"), Variant(int32_t{2})};
  rt::callByName(s.get(), u"Swap", rt::Method, args);
  EXPECT_EQ(args[0].longValue(), 2);
  EXPECT_EQ(args[1].text(), u"left");
}

TEST(Dispatch, IndexedPropertyAndObjectSet) {
  auto s = rt::make<Sample>();
  Variant let[] = {Variant(int32_t{1}), Variant(u"v")};
  rt::callByName(s.get(), u"Item", rt::PropLet, let);
  Variant get[] = {Variant(int32_t{1})};
  EXPECT_EQ(rt::callByName(s.get(), u"item", rt::PropGet, get).text(), u"v");

  auto other = rt::make<Sample>();
  rt::setProperty(s.get(), u"Link", Variant(other));
  EXPECT_EQ(rt::getProperty(s.get(), u"Link").object(), static_cast<rt::Object*>(other.get()));
  EXPECT_EQ(rt::typeNameOfValue(rt::getProperty(s.get(), u"Link")), u"Sample");
  rt::setProperty(s.get(), u"Link", Variant(nullptr));
  EXPECT_TRUE(rt::getProperty(s.get(), u"Link").isNothing());
  EXPECT_EQ(rt::typeNameOfValue(Variant(nullptr)), u"Nothing");
}

TEST(Dispatch, Failures) {
  auto s = rt::make<Sample>();
  rt::Object* o = s.get();
  Variant none[1];
  Variant four[] = {Variant(u"a"), Variant(u"b"), Variant(u"c"), Variant(u"d")};
  Variant text[] = {Variant(u"not an object")};
  struct Case {
    const char* what;
    std::function<void()> f;
    int number;
  };
  const Case cases[] = {
      {"unknown member", [&] { rt::callByName(o, u"Nope", rt::Method); }, 438},
      {"let on a read-only member", [&] { rt::callByName(o, u"Join", rt::PropLet, none); }, 438},
      {"set on a let-only member", [&] { rt::callByName(o, u"Name", rt::PropSet, none); }, 438},
      {"too few arguments", [&] { rt::callByName(o, u"Join", rt::Method); }, 450},
      {"too many arguments", [&] { rt::callByName(o, u"Join", rt::Method, four); }, 450},
      {"no arguments for an indexed get", [&] { rt::callByName(o, u"Item", rt::PropGet); }, 450},
      {"object expected", [&] { rt::callByName(o, u"Link", rt::PropSet, text); }, 13},
      {"call on nothing", [&] { rt::callByName(nullptr, u"Name", rt::PropGet); }, 91},
  };
  for (const Case& c : cases) EXPECT_EQ(errorOf(c.f), c.number) << c.what;
}

TEST(Dispatch, ErrorObjectReadsByName) {
  rt::RuntimeError e(13, u"", u"Lib.Cls");
  Ref<rt::Object> o = rt::errorObject(e);
  EXPECT_EQ(rt::getProperty(o.get(), u"Number").longValue(), 13);
  EXPECT_EQ(rt::getProperty(o.get(), u"Source").text(), u"Lib.Cls");
  EXPECT_EQ(rt::getProperty(o.get(), u"Description").text(), u"类型不匹配");
}

// Events: a sink that unadvises itself and re-enters the source while raised.
struct Sink : public virtual rt::Object {
  virtual void fired(int& value) = 0;
};

struct Source : public rt::Object {
  rt::EventSource<Sink> events;
  void fire(int& v) {
    events.raise(this, [&](Sink& s) { s.fired(v); });
  }
};

struct Counter : public Sink {
  Source* src = nullptr;
  uint32_t cookie = 0;
  int calls = 0;
  void fired(int& value) override {
    ++calls;
    value += 1;  // handlers answer through by-reference arguments
    if (src) src->events.unadvise(cookie);
  }
};

TEST(Events, RaisedSynchronouslyOverACopy) {
  auto src = rt::make<Source>();
  auto a = rt::make<Counter>();
  auto b = rt::make<Counter>();
  a->src = src.get();
  a->cookie = src->events.advise(a);
  src->events.advise(b);
  int v = 0;
  src->fire(v);
  EXPECT_EQ(v, 2);  // both ran, though the first unadvised itself meanwhile
  src->fire(v);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(a->calls, 1);
  EXPECT_EQ(b->calls, 2);
}

}  // namespace
