// The steps of a ring script: the routes by which it keeps values, and
// what it does to them.
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

void Gen::dropName(int n) {
  line("Set " + nodes_[n].name + " = Nothing");
  nodes_[n].name.clear();
}

void Gen::withBlock() {
  const int x = pickFrom(named(inRing));
  if (x < 0) return;
  line("With " + nodes_[x].name);
  ++indent_;
  if (chance(70)) dropName(x);
  if (chance(60)) link();
  stir();
  line("OutLine " + quoted("with " + nodes_[x].id + ": ") + " & " + shownInWith(x));
  --indent_;
  line("End With");
}

void Gen::forEach() {
  const int c = pickFrom(named([](const Node& n) { return isList(n.kind) || isJespin(n.kind); }));
  if (c < 0) return;
  const Node list = nodes_[c];  // as it stands while the loop runs
  const std::string it = fresh("it"), count = fresh("n");
  line(count + " = 0");
  line("For Each " + it + " In " + list.name);
  ++indent_;
  line(count + " = " + count + " + 1");
  if (isList(list.kind) && chance(30)) {
    // A new inner list takes the name; the loop, and whatever held the old
    // one, go on with the old one.
    line("If " + count + " = 1 Then " + list.name + ".Clear");
    nodes_[make(list.kind, list.id + "new", list.name)].hasId = false;
    nodes_[c].name.clear();
  } else if (chance(70)) {
    line("If " + count + " = 1 Then Set " + list.name + " = Nothing");
    nodes_[c].name.clear();
  }
  stir();
  int position = 0;
  auto at = [&](const std::string& then) {
    line("If " + count + " = " + std::to_string(++position) + " Then " + then);
  };
  const bool elements = isJespin(list.kind);  // For Each hands out its elements
  if (list.hasId) at("OutLine " + quoted("each: ") + " & " + it + (elements ? ".Value" : ""));
  for (const Slot& s : list.slots) {
    const std::string label = "OutLine " + quoted("each " + nodes_[s.target].id + ": ");
    if (elements)
      at("t1 = " + it + ".Value : " + label + " & " + shown(s.target, "t1") + " : t1 = 0");
    else
      at(label + " & " + shown(s.target, it));
  }
  --indent_;
  line("Next");
  line("Set " + it + " = Nothing");
}

// Each call holds a list of its own, which holds itself and its caller's;
// the deepest may be kept by a global value, else all go with the calls.
void Gen::recursion() {
  const std::string sub = fresh("Rec");
  const int depth = 2 + below(5);
  const int anchor = pickFrom(named(passable));
  const int keeper = chance(50) ? pickFrom(named([](const Node& n) { return n.kind == Kind::General; })) : -1;
  const std::string key = sub + "_";
  const std::string id = quoted("Id" + key);
  line("Sub " + sub + "(d, up)");
  ++indent_;
  line("Dim lc As Collection");
  line("Dim lo As Object");
  line("lc.Add " + quoted(key) + " & d, " + id + " & d");
  line("r = up : lc.Add r, \"up\" : r = 0");
  line("r = lc : lc.Add r, \"me\" : lo = r : r = 0");
  line("If d < " + std::to_string(depth) + " Then " + sub + " d + 1, lo");
  if (keeper >= 0)
    line("If d = " + std::to_string(depth) + " Then " + nodes_[keeper].name + "." + sub + " = lo");
  line("t1 = lo");
  line("OutLine " + quoted(sub + " ") + " & d & \": \" & t1.Count & \" \" & t1.Item(" + id + " & d)");
  line("If d > 1 Then t2 = t1.Item(\"up\") : OutLine \"up: \" & t2.Item(" + id + " & (d - 1)) : t2 = 0");
  const int held = anchor >= 0 ? (isHolder(nodes_[anchor].kind) ? nodes_[anchor].slots[0].target : anchor) : -1;
  if (held >= 0)
    line("If d = 1 Then t2 = t1.Item(\"up\") : OutLine \"anchor: \" & " + shown(held, "t2") + " : t2 = 0");
  line("t1 = 0");
  --indent_;
  line("End Sub");
  line(sub + " 1, " + (anchor >= 0 ? nodes_[anchor].name : "0"));
  if (keeper < 0) return;
  int up = held;
  for (int d = 1; d <= depth; ++d) {
    const int n = make(Kind::Collection, key + std::to_string(d), "");
    if (up >= 0) nodes_[n].slots.push_back(Slot{"up", up});
    nodes_[n].slots.push_back(Slot{"me", n});
    up = n;
  }
  nodes_[keeper].slots.push_back(Slot{sub, up});
}

// A function makes a ring in its locals and answers a list of it: kept by
// a global handle, read once and dropped, or dropped at once.
void Gen::functionResult() {
  const std::string fn = fresh("Mk");
  const std::string g = fn + "g";
  // Whatever it holds from outside is ready to be handed over before it
  // runs: its body may never run.
  const int outside = chance(50) ? pickFrom(named([](const Node& n) {
    return inRing(n) && (n.kind != Kind::General || n.self);
  })) : -1;
  line("Function " + fn + "()");
  ++indent_;
  line("Dim fc As Collection");
  line("fc.Add " + quoted(fn) + ", " + quoted("Id" + fn));
  line(g + ".Id = " + quoted(g));
  line("Set " + g + ".Self = " + g);
  line("Set " + g + ".C = fc");
  line("r = " + g + ".Self : fc.Add r, \"g\" : r = 0");
  if (outside >= 0) {
    int used = 0;
    takeInto(outside, used);
    line("fc.Add r, \"x\" : r = 0");
    emptyTemps(used);
  }
  line(fn + " = fc");
  --indent_;
  line("End Function");
  const int list = make(Kind::Collection, fn, "");
  const int general = make(Kind::General, g, "");
  nodes_[general].self = true;
  nodes_[general].slots = {Slot{"Self", general}, Slot{"C", list}};
  nodes_[list].slots.push_back(Slot{"g", general});
  if (outside >= 0) nodes_[list].slots.push_back(Slot{"x", outside});
  if (chance(50)) line(fn);
  if (chance(50)) line("t1 = " + fn + "() : OutLine " + quoted(fn + ": ") + " & " + shown(list, "t1") + " : t1 = 0");
  if (chance(60)) {
    const std::string u = fresh(info(Kind::Handle).prefix);
    line(u + " = " + fn + "()");
    nodes_[make(Kind::Handle, u, u)].slots.push_back(Slot{"", list});
  }
}

// Rings made through the parameters, which stand for the caller's values;
// or a parameter that alone holds a value once its global name is gone.
void Gen::byReference() {
  switch (below(3)) {
    case 0: return tie();
    case 1: return put();
    default: return hold();
  }
}

void Gen::tie() {
  const std::vector<int> generals = named(plainGeneral);
  if (generals.size() < 2) return;
  const int a = pickFrom(generals);
  int b = pickFrom(generals);
  while (b == a) b = pickFrom(generals);
  const std::string sub = fresh("Tie");
  line("Sub " + sub + "(a, b)");
  line("  Set a.P" + sub + " = b");
  line("  Set b.Q" + sub + " = a");
  line("End Sub");
  line(sub + " " + nodes_[a].name + ", " + nodes_[b].name);
  nodes_[a].slots.push_back(Slot{"P" + sub, b});
  nodes_[b].slots.push_back(Slot{"Q" + sub, a});
}

void Gen::put() {
  const int l = pickFrom(named([](const Node& n) { return isJespin(n.kind) || n.kind == Kind::ScriptValues; }));
  const int g = pickFrom(named(plainGeneral));
  if (l < 0 || g < 0) return;
  const std::string sub = fresh("Put"), key = fresh("k");
  line("Sub " + sub + "(l, gg)");
  if (!nodes_[g].self) line("  Set gg.Self = gg");
  line("  r = gg.Self : l." + std::string(info(nodes_[l].kind).put) + " r, " + quoted(key) + " : r = 0");
  line("End Sub");
  line(sub + " " + nodes_[l].name + ", " + nodes_[g].name);
  if (!nodes_[g].self) nodes_[g].slots.push_back(Slot{"Self", g});
  nodes_[g].self = true;
  nodes_[l].slots.push_back(Slot{key, g});
}

// The argument is a global general value, or a sub-value of one.
void Gen::hold() {
  const int g = pickFrom(named([](const Node& n) { return n.kind == Kind::General; }));
  if (g < 0) return;
  const Node& n = nodes_[g];
  const Slot* sub = nullptr;
  for (const Slot& s : n.slots)
    if (s.key[0] == '[' && (!sub || chance(50))) sub = &s;
  if (!sub && n.subs > 0) return;  // a list is no single argument
  const std::string fn = fresh("Hold"), argument = sub ? n.name + sub->key : n.name;
  const int held = sub ? sub->target : g;
  const bool bySub = sub != nullptr;
  line("Sub " + fn + "(a)");
  ++indent_;
  dropName(g);
  stir();
  if (bySub)
    line("t1 = a : OutLine " + quoted("held " + nodes_[held].id + ": ") + " & " + shown(held, "t1") + " : t1 = 0");
  else
    line("OutLine " + quoted("held " + nodes_[held].id + ": ") + " & " + shown(held, "a"));
  --indent_;
  line("End Sub");
  line(fn + " " + argument);
}

// A host made by the script, given a value, runs code that builds rings
// with it; what it made is read back through its space.
void Gen::nestedHost() {
  const int x = pickFrom(named(plainGeneral));
  if (x < 0) return;
  const std::string k = std::to_string(++counter_);
  const std::string host = "nh" + k, space = "ns" + k, b = "b" + k, name = nodes_[x].name;
  const int kind = below(edition_ == Edition::Second ? 3 : 2);  // Kestrin, Dovrel, sub-host
  const char* progIds[] = {"Kestrin.ScriptHost", "Dovrel.ScriptHost", "Kestrin.SubHost"};
  line("Set " + host + " = CreateObject(" + quoted(progIds[kind]) + ")");
  std::string code;
  if (kind == 2) {
    line(host + ".InitRoot ScriptHost");
    code = b + ".Id = " + k + " : Set " + b + ".Self = " + b + " : Set " + b + ".X = " + name +
           " : Set " + name + ".Sub" + k + " = " + b;
  } else {
    line("Set " + space + " = " + host + ".SSpace");
    line("Set " + space + ".Value(\"a\") = " + name);
    code = "Set a.Back = a : " + b + ".Id = " + k + " : Set " + b + ".Self = " + b + " : Set a.B" + k +
           " = " + b + " : Set " + b + ".X = a";
  }
  if (kind == 1) {
    line(host + ".ExecLine " + quoted(code));
  } else {
    line("Set nc = CreateObject(\"Kestrin.ScriptCompile\")");
    line("Set nm = CreateObject(\"Nubrel.MemStream\")");
    line("nm.Init 0");
    line("nc.Compile " + quoted(code) + ", nm");
    line("nm.SetDir 1");
    line(host + ".ExecStream nm");
    line("Set nc = Nothing : Set nm = Nothing");
  }
  if (kind == 2) line("Set " + space + " = " + host + ".SSpace");
  line("OutLine " + quoted(host + ": ") + " & " + host + ".Error.HaveErr");
  hosts_.push_back(host);
  const int made = make(Kind::General, b, "");
  nodes_[made].self = true;
  nodes_[made].slots = {Slot{"Self", made}, Slot{"X", x}};
  if (kind == 2) {
    nodes_[x].slots.push_back(Slot{"Sub" + k, made});
  } else {
    nodes_[x].slots.push_back(Slot{"Back", x});
    nodes_[x].slots.push_back(Slot{"B" + k, made});
    roots_.push_back(Root{space + ".Value(\"a\")", x});
  }
  roots_.push_back(Root{space + ".Value(" + quoted(b) + ")", made});
  if (chance(50)) drop();
}

// "Set p = g[i]" binds p to the sub-value itself, which keeps what it
// holds when g goes.  (An attribute is not handed out so: "Set p = g.F"
// binds p to Nothing.)
void Gen::memberName() {
  const int g = pickFrom(named([](const Node& n) { return n.kind == Kind::General && n.subs > 0; }));
  if (g < 0) return;
  Node& n = nodes_[g];
  std::vector<const Slot*> subs;  // they stay: positions do
  for (const Slot& s : n.slots)
    if (s.key[0] == '[') subs.push_back(&s);
  const Slot* slot = subs[below(static_cast<int>(subs.size()))];
  const std::string p = fresh("p");
  line("Set " + p + " = " + n.name + slot->key);
  roots_.push_back(Root{p, slot->target});
  if (chance(60)) dropName(g);
}

// "Set p = g" binds p through an alias of g, which a member can hold: a
// ring through it.
void Gen::alias() {
  const int g = pickFrom(named(plainGeneral));
  if (g < 0) return;
  int used = 0;
  takeInto(g, used);  // g holds itself as Self: p.Self reads it back
  line("r = 0");
  emptyTemps(used);
  const std::string p = fresh("p");
  line("Set " + p + " = " + nodes_[g].name);
  const int holder = pickFrom(named([](const Node& n) { return n.kind == Kind::General; }));
  if (holder >= 0 && chance(70)) {
    const std::string key = fresh("F");
    line("Set " + nodes_[holder].name + "." + key + " = " + p);
    nodes_[holder].slots.push_back(Slot{key, g});
  }
  if (chance(40)) line("Set " + p + " = Nothing");  // the member alone holds the alias
  else roots_.push_back(Root{p + ".Self", g});
  if (chance(50)) dropName(g);
}

// "Set e = s.Item(k)" keeps an element of a list, and what it holds, by a
// name of its own.
void Gen::elementName() {
  const int l = pickFrom(named([](const Node& n) { return isJespin(n.kind) && !n.slots.empty(); }));
  if (l < 0) return;
  const Slot& slot = nodes_[l].slots[below(static_cast<int>(nodes_[l].slots.size()))];
  const std::string e = fresh("el");
  line("Set " + e + " = " + nodes_[l].name + ".Item(" + quoted(slot.key) + ")");
  roots_.push_back(Root{e + ".Value", slot.target});
  if (chance(60)) dropName(l);
}

// A function called in the middle of a statement that works on a value
// lets go of the value's last name, and looks run in it.
void Gen::midStatement() {
  const int x = pickFrom(named([](const Node& n) {
    return n.kind == Kind::General || isList(n.kind) || isJespin(n.kind) || n.kind == Kind::ScriptValues;
  }));
  if (x < 0) return;
  const std::string fn = fresh("Gone"), name = nodes_[x].name, key = fresh("k");
  line("Function " + fn + "()");
  ++indent_;
  dropName(x);
  stir();
  line(fn + " = " + quoted(fn));
  --indent_;
  line("End Function");
  const bool with = chance(40);
  if (with) {
    line("With " + name);
    ++indent_;
  }
  const std::string target = with ? "" : name;
  if (nodes_[x].kind == Kind::General)
    line(target + "." + key + " = " + fn + "()");
  else
    line(target + "." + info(nodes_[x].kind).put + " " + fn + "(), " + quoted(key));
  if (with) {
    line("OutLine " + quoted("mid " + nodes_[x].id + ": ") + " & " + shownInWith(x));
    --indent_;
    line("End With");
  }
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
