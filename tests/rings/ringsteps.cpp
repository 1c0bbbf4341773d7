// The steps of a ring script, by weight; the ones that make values, link
// them and let go of them.  The routes that keep values are ringroutes.cpp.
#include <iterator>
#include <string>
#include <vector>

#include "ringgen.h"

namespace ringscripts {

namespace gen {

namespace {

// What a script does, step by step: each step is one of these, by weight.
struct Route {
  const char* what;
  int weight;
  void (Gen::*step)();
};

constexpr Route kRoutes[] = {
    {"a new value under a global name", 6, &Gen::newNode},
    {"one value made to hold another", 12, &Gen::link},
    {"a ring of values", 4, &Gen::ring},
    {"a link made through what holds a value", 5, &Gen::touch},
    {"a value taken out of what holds it", 4, &Gen::unlink},
    {"a global name let go of", 5, &Gen::drop},
    {"With: the block alone holds its value", 2, &Gen::withBlock},
    {"For Each: the loop alone holds its list", 2, &Gen::forEach},
    {"locals of a recursion", 2, &Gen::recursion},
    {"a function's result", 2, &Gen::functionResult},
    {"by-reference arguments", 3, &Gen::byReference},
    {"a nested host", 2, &Gen::nestedHost},
    {"a name that stands for a sub-value", 3, &Gen::memberName},
    {"a name that stands for another's value, through an alias", 3, &Gen::alias},
    {"a name that stands for an element of a list", 3, &Gen::elementName},
    {"a value's last name let go of by a call in a statement on it", 2, &Gen::midStatement},
    {"a loop that makes a ring on each pass", 2, &Gen::loop},
};

}  // namespace

void Gen::newNode() {
  static constexpr Kind kMade[] = {Kind::General,      Kind::General, Kind::General, Kind::Collection,
                                   Kind::DimCollection, Kind::Stack,   Kind::Queue,   Kind::Values,
                                   Kind::ScriptValues,  Kind::ObjectHolder, Kind::VariantHolder};
  const Kind k = kMade[below(static_cast<int>(std::size(kMade)))];
  const std::string name = fresh(info(k).prefix);
  make(k, name, name);
  if (const char* m = info(k).make) {
    std::string s = m;
    s.replace(s.find('@'), 1, name);
    if (size_t lib = s.find('$'); lib != std::string::npos) s.replace(lib, 1, library());
    line(s);
  }
  if (k == Kind::General)
    line(name + ".Id = " + quoted(name));
  else if (info(k).put)
    line(name + "." + info(k).put + " " + quoted(name) + ", " + quoted("Id" + name));
}

void Gen::link() {
  const int holder = pickFrom(named(anyNode));
  const int target = pickFrom(named(inRing));
  if (holder >= 0 && target >= 0) putInto(holder, target);
}

void Gen::ring() {
  std::vector<int> pool = reachable(inRing);
  if (pool.size() < 2) return;
  std::vector<int> members;
  for (int i = 2 + below(3); i > 0 && !pool.empty(); --i) {
    const int at = below(static_cast<int>(pool.size()));
    members.push_back(pool[at]);
    pool.erase(pool.begin() + at);
  }
  for (size_t i = 0; i < members.size(); ++i) putInto(members[i], members[(i + 1) % members.size()]);
}

// Through the way to a value: often one that no name holds any more.
void Gen::touch() {
  std::vector<int> pool = reachable([](const Node& n) { return inRing(n) && n.name.empty(); });
  if (pool.empty() || chance(30)) pool = reachable(inRing);
  const int holder = pickFrom(pool);
  if (holder < 0) return;
  if (!nodes_[holder].slots.empty() && chance(35)) return removeFrom(holder);
  const int target = pickFrom(reachable(inRing));
  if (target >= 0) putInto(holder, target);
}

void Gen::unlink() {
  std::vector<int> pool = reachable([](const Node& n) { return !n.slots.empty() || n.hasId; });
  for (int h : named([](const Node& n) { return isHolder(n.kind) && !n.slots.empty(); })) pool.push_back(h);
  const int holder = pickFrom(pool);
  if (holder >= 0) removeFrom(holder);
}

void Gen::drop() {
  const int n = pickFrom(named(anyNode));
  if (n >= 0) dropName(n);
}

std::string Gen::run() {
  line("' A ring script, edition " + std::string(edition_ == Edition::First ? "1" : "2") + ".");
  line("r = 0 : ok = 0");
  std::string temps;
  for (int i = 1; i <= kTemps; ++i) temps += (i > 1 ? " : " : "") + temp(i) + " = 0";
  line(temps);
  for (int i = 0; i < 4; ++i) newNode();
  int total = 0;
  for (const Route& r : kRoutes) total += r.weight;
  for (int steps = 20 + below(25); steps > 0; --steps) {
    int at = below(total);
    for (const Route& r : kRoutes) {
      if ((at -= r.weight) >= 0) continue;
      (this->*r.step)();
      break;
    }
  }
  digest();
  for (const std::string& h : hosts_) line(h + ".FreeAll : Set " + h + " = Nothing");
  line("OutLine \"done\"");
  return out_;
}

}  // namespace gen

std::string script(uint64_t seed, Edition edition) { return gen::Gen(seed, edition).run(); }

}  // namespace ringscripts
