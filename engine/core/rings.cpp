// Rings of general values, found as trial deletion finds them.
//
// The values reached from the bindings through general values (their
// attribute and sub-value lists, and the value each one holds) are counted:
// for each, the references that come from the bindings and from the others
// reached.  A value with more references than that is held from outside,
// and so is everything it reaches.  What is left is held only by the
// bindings and by itself: letting go of what each of its general values
// holds frees it when the bindings go, rings included.  Rings through other
// objects (a collection added to itself) are not looked into; they last
// until the process ends, as the README says.
#include "core/rings.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "builtins/svgeneral.h"
#include "core/direct.h"
#include "core/scriptvalues.h"

namespace engine {

namespace {

// A general value or a list of one.
struct Node {
  SvGeneral* general = nullptr;
  const ScriptValues* list = nullptr;
  uint32_t references = 0;  // from the bindings and from other nodes
  bool held = false;        // from outside, or reached from such a node
};

// This library's own general value `v` itself, or null.
SvGeneral* generalOf(zorbel::ScriptValue* v) {
  SvGeneral* g = directOf(v).variable;
  return g && static_cast<zorbel::ScriptValue*>(g) == v ? g : nullptr;
}

SvGeneral* generalOf(const rt::Variant& v) {
  rt::Object* o = v.isObject() ? v.object() : nullptr;
  auto* sv = o ? static_cast<zorbel::ScriptValue*>(o->query(zorbel::ScriptValue::iid)) : nullptr;
  SvGeneral* g = generalOf(sv);
  return g && static_cast<rt::Object*>(g) == o ? g : nullptr;
}

class RingFinder {
 public:
  void fromBindings(const ScriptValues& bindings) {
    eachIn(bindings, [&](rt::Object* o, Node n) { reach(o, n); });
    while (!todo_.empty()) {
      rt::Object* o = todo_.back();
      todo_.pop_back();
      eachHeldBy(nodes_.at(o), [&](rt::Object* c, Node n) { reach(c, n); });
    }
  }

  // The general values that only the bindings and the others reach.
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

 private:
  void reach(rt::Object* o, Node n) {
    auto [it, fresh] = nodes_.try_emplace(o, n);
    ++it->second.references;
    if (fresh) todo_.push_back(o);
  }

  template <class Visit>
  static void eachIn(const ScriptValues& list, Visit visit) {
    for (int32_t i = 1; i <= list.count(); ++i)
      if (SvGeneral* g = generalOf(list.at(i))) visit(g, Node{g, nullptr});
  }

  template <class Visit>
  static void eachHeldBy(const Node& n, Visit visit) {
    if (n.list) return eachIn(*n.list, visit);
    for (ScriptValues* l : {n.general->attributeList(), n.general->subValueList()})
      if (l) visit(l, Node{nullptr, l});
    if (SvGeneral* g = generalOf(n.general->held())) visit(g, Node{g, nullptr});
  }

  std::unordered_map<rt::Object*, Node> nodes_;
  std::vector<rt::Object*> todo_;
};

}  // namespace

void breakRings(const ScriptValues& bindings) {
  RingFinder finder;
  finder.fromBindings(bindings);
  for (const rt::Ref<SvGeneral>& g : finder.unheld()) g->letGoOfAll();
}

}  // namespace engine
