// The steps of a ring script that keep values by the routes a script has:
// blocks, procedures, names that stand for parts of values, nested hosts.
#include <string>
#include <vector>

#include "ringgen.h"

namespace ringscripts::gen {

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

// A loop makes a ring on each pass and lets go of its name: every third
// is kept in a list, the rest go as looks find them.
void Gen::loop() {
  const int keeper = pickFrom(named([](const Node& n) { return isList(n.kind) || isJespin(n.kind); }));
  if (keeper < 0) return;
  const int held = pickFrom(named(inRing));
  const std::string i = fresh("i"), g = "lg" + i, passes = std::to_string(3 + below(30));
  line("For " + i + " = 1 To " + passes);
  ++indent_;
  // After "Set g = Nothing" the name stands for Nothing until a value is
  // let in: a fresh general value on each pass.
  line(g + " = 0 : " + g + ".Id = " + i);
  line("Set " + g + ".Self = " + g);
  if (held >= 0) {
    int used = 0;
    takeInto(held, used);
    line(g + ".H = r : r = 0");
    emptyTemps(used);
  }
  const std::string key = quoted(g + "_") + " & " + i;
  line("If " + i + " Mod 3 = 0 Then r = " + g + ".Self : " + nodes_[keeper].name + "." +
       info(nodes_[keeper].kind).put + " r, " + key + " : r = 0");
  line("Set " + g + " = Nothing");
  --indent_;
  line("Next");
  for (int pass = 3; pass <= std::stoi(passes); pass += 3) {
    const int n = make(Kind::General, g + "_" + std::to_string(pass), "");
    nodes_[n].self = true;
    nodes_[n].slots.push_back(Slot{"Self", n});
    if (held >= 0) nodes_[n].slots.push_back(Slot{"H", held});
    nodes_[keeper].slots.push_back(Slot{g + "_" + std::to_string(pass), n});
  }
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
  if (nodes_[x].kind == Kind::General && !with && chance(40))
    line(name + " = " + fn + "()");  // into the value the name stood for
  else if (nodes_[x].kind == Kind::General)
    line(target + "." + key + " = " + fn + "()");
  else
    line(target + "." + info(nodes_[x].kind).put + " " + fn + "(), " + quoted(key));
  if (with) {
    line("OutLine " + quoted("mid " + nodes_[x].id + ": ") + " & " + shownInWith(x));
    --indent_;
    line("End With");
  }
}

}  // namespace ringscripts::gen
