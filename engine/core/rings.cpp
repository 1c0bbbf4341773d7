// Rings of general values, found as trial deletion finds them.
//
// Everything the listed values reach through general values (their
// attribute and sub-value lists, the value each one holds) and through
// aliases (the value each stands for) is counted: for each, the references
// that come from the others reached.  A value with more references than
// that is held from outside, and so is everything it reaches.  What is left
// is held only by itself: letting go of what each of its general values
// holds frees it, rings included.  Other objects are not looked into: what
// they hold counts as held from outside.
#include "core/rings.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <unordered_map>
#include <vector>

#include "builtins/svcopy.h"
#include "builtins/svgeneral.h"
#include "core/direct.h"
#include "core/scriptvalues.h"

namespace engine {

namespace {

// A look comes after at least this many values have been listed, so that a
// script with a few objects in variables never pays for one.
constexpr size_t kLeastBetweenLooks = 1024;
// A look that walked n values waits for n / kWalkShare more listed ones.
constexpr size_t kWalkShare = 8;

// The listed values; each knows its place (SvGeneral::ringSlot_).  Made
// once and kept to the end of the process, so values let go while static
// storage is torn down still find it.  The addresses are kept inverted: a
// leak checker that took them for references would never report a ring
// left behind.
struct List {
  std::vector<uintptr_t> values;
  size_t lookAt = kLeastBetweenLooks;  // a look when this many are listed
  bool looking = false;

  SvGeneral* at(size_t i) const { return reinterpret_cast<SvGeneral*>(~values[i]); }
  static uintptr_t hidden(SvGeneral* g) { return ~reinterpret_cast<uintptr_t>(g); }
};
List* list = nullptr;

// A general value, an alias or a list of a general value.
struct Node {
  SvGeneral* general = nullptr;
  SvCopy* alias = nullptr;
  const ScriptValues* list = nullptr;
  uint32_t references = 0;  // from other nodes
  bool held = false;        // from outside, or reached from such a node
};

// This library's own general value or alias `o`, as a node; no node for
// anything else.
Node nodeOf(rt::Object* o) {
  if (!o) return {};
  if (auto* a = static_cast<SvCopy*>(o->query(SvCopy::ownIid))) return Node{nullptr, a};
  auto* sv = static_cast<zorbel::ScriptValue*>(o->query(zorbel::ScriptValue::iid));
  SvGeneral* g = directOf(sv).variable;
  return g && static_cast<rt::Object*>(g) == o ? Node{g} : Node{};
}

rt::Object* objectIn(const rt::Variant& v) { return v.isObject() ? v.object() : nullptr; }

class RingFinder {
 public:
  void start(SvGeneral* g) {
    if (nodes_.try_emplace(g, Node{g}).second) todo_.push_back(g);
  }

  // Counts what is reached from the values started from.
  void walk() {
    while (!todo_.empty()) {
      rt::Object* o = todo_.back();
      todo_.pop_back();
      eachHeldBy(nodes_.at(o), [&](rt::Object* c, Node n) {
        auto [it, fresh] = nodes_.try_emplace(c, n);
        ++it->second.references;
        if (fresh) todo_.push_back(c);
      });
    }
  }

  // The general values that only the others reach.
  std::vector<rt::Ref<SvGeneral>> unheld() {
    for (auto& [o, n] : nodes_) {
      if (o->refCount() > n.references) {
        n.held = true;
        todo_.push_back(o);
      }
    }
    while (!todo_.empty()) {
      rt::Object* o = todo_.back();
      todo_.pop_back();
      eachHeldBy(nodes_.at(o), [&](rt::Object* c, Node) {
        Node& n = nodes_.at(c);
        if (!n.held) {
          n.held = true;
          todo_.push_back(c);
        }
      });
    }
    std::vector<rt::Ref<SvGeneral>> out;
    for (auto& [o, n] : nodes_)
      if (!n.held && n.general) out.emplace_back(n.general);
    return out;
  }

  size_t reached() const { return nodes_.size(); }

 private:
  template <class Visit>
  static void eachHeldBy(const Node& n, Visit visit) {
    if (n.list) {
      for (int32_t i = 1; i <= n.list->count(); ++i) {
        rt::Object* item = n.list->at(i);
        if (Node c = nodeOf(item); c.general || c.alias) visit(item, c);
      }
    } else if (n.alias) {
      rt::Object* target = n.alias->target();
      if (Node c = nodeOf(target); c.general || c.alias) visit(target, c);
    } else {
      for (ScriptValues* l : {n.general->attributeList(), n.general->subValueList()})
        if (l) visit(l, Node{nullptr, nullptr, l});
      rt::Object* held = objectIn(n.general->held());
      if (Node c = nodeOf(held); c.general || c.alias) visit(held, c);
    }
  }

  std::unordered_map<rt::Object*, Node> nodes_;
  std::vector<rt::Object*> todo_;
};

// Whether `g` still holds a value that can close a ring.
bool mayCloseRing(const SvGeneral& g) {
  Node n = nodeOf(objectIn(g.held()));
  return n.general || n.alias;
}

}  // namespace

void Rings::enlist(SvGeneral& g) {
  try {
    if (!list) list = new List;
    list->values.push_back(List::hidden(&g));
  } catch (const std::bad_alloc&) {
    return;  // not listed: its rings last, as they would without looks
  }
  g.ringSlot_ = static_cast<uint32_t>(list->values.size() - 1);
  if (list->values.size() >= list->lookAt) breakUnheld();
}

void Rings::delist(SvGeneral& g) {
  SvGeneral* last = list->at(list->values.size() - 1);
  list->values[g.ringSlot_] = List::hidden(last);
  last->ringSlot_ = g.ringSlot_;
  list->values.pop_back();
  g.ringSlot_ = kUnlisted;
}

void Rings::breakUnheld() {
  if (!list || list->looking) return;
  list->looking = true;
  std::vector<rt::Ref<SvGeneral>> unheld;
  size_t reached = 0;
  try {
    RingFinder finder;
    // From the end: a value delisted takes the place of one seen already.
    for (size_t i = list->values.size(); i-- > 0;) {
      SvGeneral* g = list->at(i);
      if (mayCloseRing(*g)) finder.start(g);
      else delist(*g);
    }
    finder.walk();
    unheld = finder.unheld();
    reached = finder.reached();
  } catch (const std::bad_alloc&) {
    // Nothing found this time; the next look tries again.
  }
  // Taken out first: what goes may reach another of them.
  for (const rt::Ref<SvGeneral>& g : unheld) g->letGoOfAll();
  unheld.clear();
  const size_t left = list->values.size();
  list->lookAt = left + std::max({kLeastBetweenLooks, left, reached / kWalkShare});
  list->looking = false;
}

size_t Rings::listed() { return list ? list->values.size() : 0; }

}  // namespace engine
