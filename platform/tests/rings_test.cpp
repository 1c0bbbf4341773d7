// Looks for rings: what they free, what they keep, and what they walk.
// Each case runs on a thread of its own, whose possible roots start empty.
#include "rt/rings.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <thread>
#include <utility>
#include <vector>

#include "failingnew.h"

namespace {

using rt::Object;
using rt::Ref;
using rt::Rings;

// A traced object holding others, counted while it lives.
class Node final : public rt::HoldsObjects {
 public:
  static inline int live = 0;
  Node() { ++live; }
  ~Node() override { --live; }
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::HoldsObjects>(this, iid); }
  void eachHeld(rt::HeldVisitor& visit) noexcept override {
    for (const Ref<Object>& o : held) visit.held(o.get());
  }
  void letGoOfHeld() noexcept override { std::vector<Ref<Object>> gone = std::move(held); }
  std::vector<Ref<Object>> held;
};

// An object that holds another without naming it.
class Box final : public Object {
 public:
  Ref<Object> held;
};

// The node `o` is, or null.
Node* nodeOf(Object* o) {
  return static_cast<Node*>(static_cast<rt::HoldsObjects*>(o->query(rt::HoldsObjects::iid)));
}

void onOwnThread(const std::function<void()>& f) { std::thread(f).join(); }

// A graph of nodes named by letters ("ab" is a holding b), and of boxes
// named by digits; `kept` names what a reference from outside holds.
struct Graph {
  std::map<char, Ref<Object>> objects;
  Object* at(char c) {
    Ref<Object>& o = objects[c];
    if (!o) o = (c >= '0' && c <= '9') ? Ref<Object>(new Box) : Ref<Object>(new Node);
    return o.get();
  }
  void link(char from, char to) {
    Object* target = at(to);
    if (Node* n = nodeOf(at(from))) n->held.emplace_back(target);
    else static_cast<Box*>(at(from))->held = target;
  }
};

TEST(Rings, ALookFreesWhatNothingOutsideHolds) {
  struct Case {
    const char* what;
    std::vector<const char*> edges;
    const char* kept;  // held from outside
    int liveAfter;     // nodes
    bool brokenByHand = false;  // after, as a program must break such a ring
  };
  const Case cases[] = {
      {"a value holding itself", {"aa"}, "", 0},
      {"two rings held by each other", {"ab", "ba", "bc", "cb", "ca"}, "", 0},
      {"a reference held twice", {"ab", "ab", "ba"}, "", 0},
      {"a ring held from outside", {"ab", "ba"}, "a", 2},
      {"a ring reached from what is held from outside", {"ab", "ba", "cb"}, "c", 3},
      {"a ring holding what is held from outside", {"ab", "ba", "bc", "cd"}, "c", 2},
      {"a ring held by an object that names nothing", {"ab", "ba", "1a"}, "1", 2},
      {"a ring through an object that names nothing", {"a1", "1a"}, "", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    onOwnThread([&] {
      std::vector<Ref<Object>> outside;
      Node* first;
      {
        Graph g;
        for (const char* e : c.edges) g.link(e[0], e[1]);
        for (const char* k = c.kept; *k; ++k) outside.emplace_back(g.at(*k));
        first = nodeOf(g.at('a'));
      }
      Rings::look();
      EXPECT_EQ(Node::live, c.liveAfter);
      if (c.brokenByHand) first->letGoOfHeld();
      outside.clear();
      Rings::look();
      EXPECT_EQ(Node::live, 0);
    });
  }
}

// A near look stops at what was found held and has not been let go of
// since: a large structure held from outside is walked once, not at every
// look, however often the value at its head is used.
TEST(Rings, WhatLivesOnUntouchedIsNotWalkedAgain) {
  onOwnThread([] {
    Ref<Node> head(new Node);
    for (int i = 0; i < 20000; ++i) head->held.emplace_back(new Node);
    Ref<Node> touched = head;
    touched = nullptr;  // let go of to a count above zero: a possible root
    Rings::look();
    const size_t walkedOnce = Rings::walkedSoFar();
    EXPECT_GT(walkedOnce, 20000u);
    std::vector<Ref<Node>> others(2000);
    for (int round = 0; round < 5; ++round) {  // fewer than a full look waits for
      for (Ref<Node>& o : others) {
        o = new Node;
        Ref<Node> use = o;  // the release below makes it a possible root
      }
      touched = head;
      touched = nullptr;
      Rings::lookIfDue();
    }
    EXPECT_EQ(Rings::possibleRoots(), 0u);
    EXPECT_LE(Rings::walkedSoFar() - walkedOnce, 5u * (2000 + 1));  // the new nodes, and the head
  });
  EXPECT_EQ(Node::live, 0);
}

// A ring that passes through what an earlier look found held is not freed
// by a near look, which stops there, but by the next full look.
TEST(Rings, ARingThroughWhatWasFoundHeldGoesAtTheNextFullLook) {
  onOwnThread([] {
    std::vector<Ref<Node>> many(5000);  // so that a near look is not followed by a full one
    for (Ref<Node>& n : many) n = new Node;
    Ref<Node> s(new Node), list(new Node);
    s->held.emplace_back(list.get());
    list->held.emplace_back(s.get());
    Ref<Node> keep = s;
    for (Ref<Node>& n : many) Ref<Node> use = n;
    list = nullptr;
    s = nullptr;
    Rings::look();  // all found held
    keep = nullptr;  // s is let go of: a possible root; its list is not
    std::vector<Ref<Node>> others(1100);
    for (Ref<Node>& o : others) {
      o = new Node;
      Ref<Node> use = o;
    }
    const int before = Node::live;
    Rings::lookIfDue();  // near: stops at the list
    EXPECT_EQ(Node::live, before);
    Rings::look();
    EXPECT_EQ(Node::live, before - 2);
  });
  EXPECT_EQ(Node::live, 0);
}

// A look that runs out of memory at any step leaves every object as it was,
// listed where it was; the next look frees what it should.
TEST(Rings, ALookThatRunsOutOfMemoryChangesNothing) {
  // Every large allocation of the look fails in turn, until the look needs
  // no more of them.
  bool failed = true;
  for (int step = 1; failed && step < 50; ++step) {
    SCOPED_TRACE(step);
    onOwnThread([&] {
      std::vector<Ref<Node>> kept(3000);
      for (Ref<Node>& n : kept) {
        n = new Node;
        Ref<Node> ring(new Node);
        ring->held.emplace_back(ring.get());
        n->held.emplace_back(ring.get());  // kept rings
        Ref<Node> lost(new Node);
        lost->held.emplace_back(lost.get());  // and lost ones
      }
      const size_t roots = Rings::possibleRoots();
      testsupport::failLargeAllocation(16 * 1024, step);
      Rings::look();
      failed = testsupport::largeAllocationFailed();
      testsupport::failLargeAllocation(0, 0);
      if (failed) {
        EXPECT_EQ(Node::live, 3 * 3000);
        EXPECT_EQ(Rings::possibleRoots(), roots);
        Rings::look();
      }
      EXPECT_EQ(Node::live, 2 * 3000);
      kept.clear();
      Rings::look();
    });
    EXPECT_EQ(Node::live, 0);
  }
  EXPECT_FALSE(failed);
}

// Objects listed by a thread that has ended are as if never listed: they
// can go later, on another thread.
TEST(Rings, WhatAThreadListedOutlivesItsList) {
  Ref<Node> a(new Node), b(new Node);
  onOwnThread([&] {
    a->held.emplace_back(b.get());
    Ref<Node> use = a;
    use = b;
  });
  b = nullptr;
  a = nullptr;
  EXPECT_EQ(Node::live, 0);
}

}  // namespace
