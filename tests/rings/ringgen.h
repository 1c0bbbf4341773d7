// The generator of ring scripts (ringscripts.h): the model of what a
// script has made, with the statements written over it (ringgen.cpp), and
// the steps a script takes (ringsteps.cpp, and ringroutes.cpp for the
// routes by which it keeps values).
//
// The model holds the script's values (nodes), what each holds (slots) and
// which names hold them; every step picks from the model, writes its
// statements and changes the model as they change the script's values.
// What the model says is reachable at the end is read back by the shortest
// way to it (the digest), so a value that the ring finder let go of too
// early shows as a wrong line, an error or a sanitizer report.
//
// Notes on the language that shape the statements (docs/language.md):
//   - An object goes into a list as a value: "r = x" leaves x's object in
//     the scratch variable r, which is then added; r is emptied at once (it
//     would be a route of its own).  A general value has no object of its
//     own to hand over: it is handed over as the value of its attribute
//     Self, which holds the value itself (a ring of one).
//   - A collection in an argument list gives its items as the arguments,
//     and so does a general value with sub-values: neither is passed to a
//     procedure.
//   - A procedure sees its callers' names: its locals are Dim'd, its
//     parameters, or names that no caller has.
//   - A plain variable that holds an object (a temporary tN) stands for it:
//     its members are the object's.  Sub-values of a general value are read
//     through its own name only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ringscripts.h"

namespace ringscripts::gen {

// Every kind of value a script builds rings of, or keeps them by.
enum class Kind {
  General,        // a plain variable: attributes and sub-values
  Collection,     // New("Fennick.SvCollection")
  DimCollection,  // Dim x As Collection
  Stack,          // Jespin.VStack
  Queue,          // Jespin.VQueue
  Values,         // Jespin.VValues
  ScriptValues,   // the engine's own list of script values
  ObjectHolder,   // Dim x As Object: one object, held by names only
  VariantHolder,  // Dim x As Variant: likewise
  Handle,         // a plain variable given an object (a function's result)
};

struct KindInfo {
  const char* prefix;  // of its names
  const char* make;    // the statement that makes `@`; none for a first use
  const char* put;     // its member that takes an object under a key; none: it holds one
};

const KindInfo& info(Kind k);
inline bool isList(Kind k) { return k == Kind::Collection || k == Kind::DimCollection; }
inline bool isJespin(Kind k) { return k == Kind::Stack || k == Kind::Queue || k == Kind::Values; }
// Holds one object and is never held: a route, not part of a ring.
inline bool isHolder(Kind k) {
  return k == Kind::ObjectHolder || k == Kind::VariantHolder || k == Kind::Handle;
}

// One object a value holds: under an attribute name (General), an item key
// (lists), a sub-value position "[i]" (General), or "" (holders).
struct Slot {
  std::string key;
  int target;
};

struct Node {
  Kind kind;
  std::string id;    // what the digest calls it
  std::string name;  // the global name that holds it; empty once let go of
  std::vector<Slot> slots;
  bool hasId = true;  // its id item is still in it (lists)
  bool self = false;  // General: holds itself as Self
  int subs = 0;       // General: its sub-values (it is then a list)
};

// A value reached from outside the script's names: an expression whose
// value is its object.
struct Root {
  std::string read;
  int node;
};

// How the digest reaches a node: by its name, from a root, or through a
// slot of another.
struct Way {
  bool reached = false;
  int root = -1;
  int from = -1;
  int slot = -1;
  int depth = 0;  // temporaries the way takes
};

constexpr int kTemps = 12;

class Gen {
 public:
  Gen(uint64_t seed, Edition edition) : state_(seed), edition_(edition) {}
  std::string run();

  // The steps a script takes (kRoutes).
  void newNode();
  void link();
  void ring();
  void touch();
  void unlink();
  void drop();
  void withBlock();
  void forEach();
  void recursion();
  void functionResult();
  void byReference();
  void tie();
  void put();
  void hold();
  void nestedHost();
  void memberName();
  void midStatement();
  void alias();
  void elementName();
  void loop();

 private:
  // --- Randomness: splitmix64, the same on every platform ---
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int below(int n) { return n <= 1 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }
  bool chance(int percent) { return below(100) < percent; }
  int pickFrom(const std::vector<int>& v) { return v.empty() ? -1 : v[below(static_cast<int>(v.size()))]; }

  // --- Text ---
  void line(const std::string& s) { out_ += std::string(indent_ * 2, ' ') + s + "\r\n"; }
  std::string fresh(const char* prefix) { return prefix + std::to_string(++counter_); }
  static std::string quoted(const std::string& s) { return "\"" + s + "\""; }
  static std::string temp(int i) { return "t" + std::to_string(i); }
  const char* library() const { return edition_ == Edition::First ? "Dovrel" : "Kestrin"; }

  // --- The model ---
  int make(Kind k, std::string id, std::string name);
  std::vector<Way> ways() const;
  template <class Keep>
  std::vector<int> reachable(Keep keep) const {
    const std::vector<Way> w = ways();
    std::vector<int> out;
    for (size_t i = 0; i < nodes_.size(); ++i)
      if (w[i].reached && keep(nodes_[i])) out.push_back(static_cast<int>(i));
    return out;
  }
  std::vector<int> named(bool (*keep)(const Node&)) const;
  static bool anyNode(const Node&) { return true; }
  // What can hold another and be held: all but the holders.
  static bool inRing(const Node& n) { return !isHolder(n.kind); }
  static bool plainGeneral(const Node& n) { return n.kind == Kind::General && n.subs == 0; }
  // What a procedure can take as one argument that holds an object.
  static bool passable(const Node& n) {
    return isJespin(n.kind) || n.kind == Kind::ScriptValues ||
           (isHolder(n.kind) && !n.slots.empty());
  }

  // --- Statements over the model ---
  std::string reach(const std::vector<Way>& w, int n, int& used);
  void emptyTemps(int used);
  void takeInto(int target, int& used);
  void putInto(int holder, int target);
  void removeFrom(int holder);
  void dropName(int n);
  void stir();
  std::string shown(int n, const std::string& h) const;
  std::string shownInWith(int n) const;
  void digest();

  uint64_t state_;
  Edition edition_;
  std::string out_;
  int indent_ = 0;
  int counter_ = 0;
  std::vector<Node> nodes_;
  std::vector<Root> roots_;
  std::vector<std::string> hosts_;  // nested hosts, let go of at the end
};

}  // namespace ringscripts::gen
