// The model of a ring script, and the statements written over it
// (ringgen.h).
#include "ringgen.h"

#include <algorithm>
#include <deque>
#include <utility>

namespace ringscripts::gen {

// By Kind.  "$" stands for the running edition's engine library.
constexpr KindInfo kKinds[] = {
    {"g", nullptr, nullptr},
    {"c", "Set @ = New(\"Fennick.SvCollection\")", "Add"},
    {"d", "Dim @ As Collection", "Add"},
    {"s", "Set @ = CreateObject(\"Jespin.VStack\")", "Push"},
    {"q", "Set @ = CreateObject(\"Jespin.VQueue\")", "PutIn"},
    {"v", "Set @ = CreateObject(\"Jespin.VValues\")", "Add"},
    {"e", "Set @ = CreateObject(\"$.ScriptValues\")", "Add"},
    {"o", "Dim @ As Object", nullptr},
    {"w", "Dim @ As Variant", nullptr},
    {"u", nullptr, nullptr},
};

const KindInfo& info(Kind k) { return kKinds[static_cast<int>(k)]; }

// ------------------------------------------------------------------ model

int Gen::make(Kind k, std::string id, std::string name) {
  Node n;
  n.kind = k;
  n.id = std::move(id);
  n.name = std::move(name);
  nodes_.push_back(std::move(n));
  return static_cast<int>(nodes_.size()) - 1;
}

// Breadth first from the names and roots, so each way is a shortest one.
std::vector<Way> Gen::ways() const {
  std::vector<Way> w(nodes_.size());
  std::deque<int> todo;
  auto visit = [&](int n, Way way) {
    if (w[n].reached || way.depth > kTemps) return;
    way.reached = true;
    w[n] = way;
    todo.push_back(n);
  };
  for (size_t i = 0; i < nodes_.size(); ++i) {
    const Node& n = nodes_[i];
    if (n.name.empty() || isHolder(n.kind)) continue;
    visit(static_cast<int>(i), Way{true, -1, -1, -1, n.kind == Kind::General ? 0 : 1});
  }
  for (size_t r = 0; r < roots_.size(); ++r)
    visit(roots_[r].node, Way{true, static_cast<int>(r), -1, -1, 1});
  for (size_t i = 0; i < nodes_.size(); ++i) {
    const Node& n = nodes_[i];
    if (!n.name.empty() && isHolder(n.kind) && !n.slots.empty())
      visit(n.slots[0].target, Way{true, -1, static_cast<int>(i), 0, 1});
  }
  while (!todo.empty()) {
    const int h = todo.front();
    todo.pop_front();
    const Node& n = nodes_[h];
    if (n.kind == Kind::ScriptValues) continue;  // its items are not read back
    for (size_t s = 0; s < n.slots.size(); ++s) {
      if (n.slots[s].key[0] == '[' && n.name.empty()) continue;  // read by name only
      visit(n.slots[s].target, Way{true, -1, h, static_cast<int>(s), w[h].depth + 1});
    }
  }
  return w;
}

std::vector<int> Gen::named(bool (*keep)(const Node&)) const {
  std::vector<int> out;
  for (size_t i = 0; i < nodes_.size(); ++i)
    if (!nodes_[i].name.empty() && keep(nodes_[i])) out.push_back(static_cast<int>(i));
  return out;
}
// ------------------------------------------------------------- statements

// Writes the reads that leave what stands for `n` in a temporary (or names
// it), the temporaries counted in `used`; returns it.
std::string Gen::reach(const std::vector<Way>& w, int n, int& used) {
  const Way& way = w[n];
  const Node& node = nodes_[n];
  if (way.root >= 0) {
    line(temp(++used) + " = " + roots_[way.root].read);
    return temp(used);
  }
  if (way.from < 0) {
    if (node.kind == Kind::General) return node.name;
    line(temp(++used) + " = " + node.name);
    return temp(used);
  }
  const Node& holder = nodes_[way.from];
  const Slot& slot = holder.slots[way.slot];
  if (isHolder(holder.kind)) {
    line(temp(++used) + " = " + holder.name);
    return temp(used);
  }
  const std::string from = reach(w, way.from, used);
  std::string read;
  if (holder.kind == Kind::General)
    read = from + (slot.key[0] == '[' ? slot.key : "." + slot.key);
  else if (isList(holder.kind))
    read = from + ".Item(" + quoted(slot.key) + ")";
  else
    read = from + ".Item(" + quoted(slot.key) + ").Value";
  line(temp(++used) + " = " + read);
  return temp(used);
}

// Temporaries hold objects too: emptied after each use.
void Gen::emptyTemps(int used) {
  std::string s;
  for (int i = 1; i <= used; ++i) s += (i > 1 ? " : " : "") + temp(i) + " = 0";
  if (!s.empty()) line(s);
}

// Leaves the object of `target` in r.
void Gen::takeInto(int target, int& used) {
  const std::vector<Way> w = ways();
  const std::string h = reach(w, target, used);
  Node& n = nodes_[target];
  if (n.kind == Kind::General) {
    if (!n.self) {
      // By its name, Set makes the attribute hold the value itself; a
      // temporary's value is the object already.
      line(n.name == h ? "Set " + h + ".Self = " + h : h + ".Self = " + h);
      n.self = true;
      n.slots.push_back(Slot{"Self", target});
    }
    line("r = " + h + (n.name == h ? ".Self" : ""));
  } else {
    line("r = " + h);
  }
}

void Gen::putInto(int holder, int target) {
  int took = 0, used = 0;
  takeInto(target, took);
  const std::vector<Way> w = ways();
  Node& n = nodes_[holder];
  if (isHolder(n.kind)) {
    line(n.name + " = r");
    n.slots.assign(1, Slot{"", target});
  } else if (n.kind == Kind::General) {
    const std::string h = reach(w, holder, used);
    const bool byName = h == n.name;
    if (byName && n.slots.size() < 8 && chance(25)) {
      const std::string key = "[" + std::to_string(++n.subs) + "]";
      line(h + key + " = r");
      n.slots.push_back(Slot{key, target});
    } else {
      const std::string key = fresh("F");
      const Node& t = nodes_[target];
      // A named value held by name, or its object let in.
      if (byName && t.kind == Kind::General && !t.name.empty() && chance(50))
        line("Set " + h + "." + key + " = " + t.name);
      else
        line(h + "." + key + " = r");
      n.slots.push_back(Slot{key, target});
    }
  } else if (n.kind == Kind::ScriptValues && nodes_[target].kind == Kind::General && chance(30)) {
    // Stored as itself, under its own name: not read back.
    line("ok = " + reach(w, holder, used) + ".AddObj(r)");
  } else {
    const std::string key = fresh("k");
    line(reach(w, holder, used) + "." + info(n.kind).put + " r, " + quoted(key));
    n.slots.push_back(Slot{key, target});
  }
  line("r = 0");
  emptyTemps(std::max(took, used));
}

void Gen::removeFrom(int holder) {
  Node& n = nodes_[holder];
  int used = 0;
  const std::vector<Way> w = ways();
  if (isHolder(n.kind)) {
    line(n.name + (n.kind == Kind::ObjectHolder ? " = Nothing" : " = 0"));
    n.slots.clear();
    return;
  }
  const std::string h = reach(w, holder, used);
  if (n.kind == Kind::Stack && chance(40)) {
    line("r = " + h + ".Pop : r = 0");  // the last one pushed
    if (!n.slots.empty()) n.slots.pop_back();
    else n.hasId = false;
  } else if (n.kind == Kind::Queue && chance(40)) {
    line("r = " + h + ".GetOut : r = 0");  // the first one put in
    if (n.hasId) n.hasId = false;
    else if (!n.slots.empty()) n.slots.erase(n.slots.begin());
  } else if (!n.slots.empty()) {
    const int s = below(static_cast<int>(n.slots.size()));
    const std::string key = n.slots[s].key;
    if (n.kind != Kind::General)
      line(h + ".Remove " + quoted(key));
    else if (key == "Self" || key[0] == '[')
      return emptyTemps(used);  // kept: it hands the value over; positions stay
    else
      line(chance(50) ? h + "." + key + " = 0" : "Set " + h + "." + key + " = Nothing");
    n.slots.erase(n.slots.begin() + s);
  }
  emptyTemps(used);
}

void Gen::dropName(int n) {
  line("Set " + nodes_[n].name + " = Nothing");
  nodes_[n].name.clear();
}

// An object let into a variable and out again: a chance for a look.
void Gen::stir() {
  const int n = pickFrom(named([](const Node& x) { return inRing(x); }));
  if (n < 0) return;
  int used = 0;
  takeInto(n, used);
  line("r = 0");
  emptyTemps(used);
}

// An expression that shows what `n` holds, through `h` that stands for it.
std::string Gen::shown(int n, const std::string& h) const {
  const Node& node = nodes_[n];
  const std::string key = quoted("Id" + node.id);
  switch (node.kind) {
    case Kind::General:
      return h + ".Id" + (node.subs > 0 ? " & \" \" & " + h + ".Count" : "");
    case Kind::ScriptValues:
      return h + ".Count & \" \" & " + h + ".Exist(" + key + ")";
    default:
      if (!node.hasId) return h + ".Count";
      return h + ".Count & \" \" & " + h + ".Item(" + key + ")" + (isJespin(node.kind) ? ".Value" : "");
  }
}

// The same inside With: a collection there is the script value itself.
std::string Gen::shownInWith(int n) const {
  const Node& node = nodes_[n];
  if (isList(node.kind)) return ".Count & \" \" & .Exist(" + quoted("Id" + node.id) + ")";
  return shown(n, "");
}

void Gen::digest() {
  line("' Everything kept, read back.");
  const std::vector<Way> w = ways();
  for (size_t i = 0; i < nodes_.size(); ++i) {
    const Node& n = nodes_[i];
    if (isHolder(n.kind) && !n.name.empty() && n.slots.empty())
      line("OutLine " + quoted(n.name + ": ") + " & TypeName(" + n.name + ")");
    if (!w[i].reached || isHolder(n.kind)) continue;
    int used = 0;
    const std::string h = reach(w, static_cast<int>(i), used);
    line("OutLine " + quoted(n.id + ": ") + " & " + shown(static_cast<int>(i), h));
    emptyTemps(used);
  }
}
}  // namespace ringscripts::gen
