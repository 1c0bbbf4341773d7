// Letting go of a chain of objects, each holding the next, takes a native
// stack of the same size whatever the chain's length.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "rt/collection.h"
#include "rt/object.h"
#include "rt/testing.h"

namespace {

constexpr int kLinks = 1000000;
// Far less than a million nested destructions take.
constexpr size_t kSmallStack = size_t{1} << 20;

// A link notes its number when it goes.
class Link : public rt::Object {
 public:
  Link(int number, std::vector<int>& gone) : number_(number), gone_(gone) {}
  rt::Ref<Link> next;

 protected:
  ~Link() override { gone_.push_back(number_); }

 private:
  int number_;
  std::vector<int>& gone_;
};

TEST(Release, LongChainsGoOnASmallStack) {
  struct Case {
    const char* what;
    // Builds a chain of kLinks and lets go of it.
    std::function<void()> chain;
  } cases[] = {
      {"objects holding the next",
       [] {
         std::vector<int> gone;
         rt::Ref<Link> head = rt::make<Link>(0, gone);
         Link* last = head.get();
         for (int i = 1; i < kLinks; ++i) last = (last->next = rt::make<Link>(i, gone)).get();
         head = nullptr;
         ASSERT_EQ(gone.size(), size_t{kLinks});
         for (int i = 0; i < kLinks; ++i) ASSERT_EQ(gone[static_cast<size_t>(i)], i);  // in order
       }},
      {"collections holding the next, the first removed",
       [] {
         rt::Ref<rt::Collection> head = rt::make<rt::Collection>();
         rt::Collection* last = head.get();
         for (int i = 1; i < kLinks; ++i) {
           rt::Ref<rt::Collection> next = rt::make<rt::Collection>();
           last->list().add(rt::Variant(next));
           last = next.get();
         }
         head->list().remove(1);
         EXPECT_EQ(head->count(), 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(rt::testing::onStackOf(kSmallStack, c.chain));
  }
}

// What a destructor sees of the object that held it: past a fixed depth of
// nesting, and in builds with checks at every depth (so that the sanitizers
// see a destructor that reaches its owner in every test), the owner's own
// destructor has ended before what it held goes.
TEST(Release, WhatAnOwnerHeldGoesAfterTheOwnerPastTheDepth) {
#ifdef NDEBUG
  constexpr int kNesting = 64;
#else
  constexpr int kNesting = 1;
#endif
  // Notes its number as its destructor starts, and ~number as it ends.
  struct Owner : rt::Object {
    Owner(int n, std::vector<int>& e) : number(n), events(e) {}
    ~Owner() override {
      events.push_back(number);
      next = nullptr;
      events.push_back(~number);
    }
    int number;
    std::vector<int>& events;
    rt::Ref<Owner> next;
  };
  std::vector<int> events;
  rt::Ref<Owner> head = rt::make<Owner>(0, events);
  Owner* last = head.get();
  for (int i = 1; i < 200; ++i) last = (last->next = rt::make<Owner>(i, events)).get();
  head = nullptr;
  auto at = [&](int event) { return std::find(events.begin(), events.end(), event) - events.begin(); };
  for (int i = 1; i < 200; ++i) {
    SCOPED_TRACE(i);
    // One put aside starts a new nesting: it began after its owner ended.
    EXPECT_EQ(at(i) < at(~(i - 1)), i % kNesting != 0);
  }
}

}  // namespace
