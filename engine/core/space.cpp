#include "core/space.h"

#include <unordered_map>

#include "core/bindings.h"
#include "rt/rings.h"
#include "core/scriptvalues.h"
#include "core/strutil.h"
#include "rt/activation.h"
#include "rt/convert.h"

namespace engine {

namespace {

// Shared shapes are odd, shapes of one space even, so that a space of its
// own shape binding a name never makes a table entry.
Shape lastShape = kEmptyShape;

// The most transitions kept: past this many, a binding gives a shape of its
// own, so that a script that binds ever new names uses bounded memory.
constexpr size_t kMaxTransitions = 1 << 16;

struct Transition {
  Shape from;
  std::u16string name;
};
struct TransitionView {
  Shape from;
  std::u16string_view name;
};

// Names are short and nearly always ASCII: their letters are folded here,
// anything else by the runtime.  Names that are equal without regard to
// case hash alike except across the two ways, which only costs a second
// shape for the same names.
struct TransitionHash {
  using is_transparent = void;
  size_t operator()(const TransitionView& t) const {
    size_t h = 0xcbf29ce484222325ull ^ static_cast<size_t>(t.from * 0x9E3779B97F4A7C15ull);
    for (char16_t c : t.name) {
      if (c >= 0x80) return rt::hashNoCase(t.name) ^ static_cast<size_t>(t.from);
      h = (h ^ (c | 0x20u)) * 0x100000001b3ull;
    }
    return h;
  }
  size_t operator()(const Transition& t) const { return (*this)(TransitionView{t.from, t.name}); }
};
struct TransitionEq {
  using is_transparent = void;
  template <class A, class B>
  bool operator()(const A& a, const B& b) const {
    return a.from == b.from && sameName(a.name, b.name);
  }
};

std::unordered_map<Transition, Shape, TransitionHash, TransitionEq>& transitions() {
  static std::unordered_map<Transition, Shape, TransitionHash, TransitionEq> table;
  return table;
}

Shape uniqueShape() { return lastShape += lastShape & 1 ? 1 : 2; }

Shape sharedShape() { return lastShape += lastShape & 1 ? 2 : 1; }

// Never raises: without room for the table a space takes a shape of its own.
Shape shapeAfter(Shape from, std::u16string_view name) noexcept {
  if (!(from & 1) || name.empty()) return uniqueShape();
  try {
    auto& table = transitions();
    if (auto it = table.find(TransitionView{from, name}); it != table.end()) return it->second;
    if (table.size() >= kMaxTransitions) return uniqueShape();
    Shape next = sharedShape();
    table.emplace(Transition{from, std::u16string(name)}, next);
    return next;
  } catch (...) {
    return uniqueShape();
  }
}

}  // namespace

Space::Space() : bindings_(rt::make<ScriptValues>(ScriptValues::OfSpace{})) {}

Space::~Space() { EngineSpaces::forget(this); }

zorbel::ScriptValue* Space::local(std::u16string_view name) const { return bindings_->find(name); }

// Only a shared shape is kept in a step: a shape of one space's own must
// not be given to another.
bool Space::bind(zorbel::ScriptValue* v, std::u16string_view name, ShapeStep* step) {
  // A space of the shape the step starts from has the same names as the one
  // the step was taken in, where the name was not bound yet.
  if (v && step && step->from == shape_) {
    bindings_->append(v, name);
    shape_ = step->to;
    return true;
  }
  if (!bindings_->addUnder(v, name)) return false;
  const Shape from = shape_;
  shape_ = shapeAfter(from, name);
  if (step && (shape_ & 1)) *step = ShapeStep{from, shape_};
  return true;
}

bool Space::bindUnderKey(zorbel::ScriptValue* v) {
  if (!v) return false;
  try {
    return bind(v, v->key());
  } catch (...) {
    return false;
  }
}

rt::Ref<zorbel::ScriptValue> Space::bindNewVariable(std::u16string_view name) {
  rt::Ref<zorbel::ScriptValue> v = bindings_->add(rt::Variant(int16_t{0}), name);
  shape_ = shapeAfter(shape_, name);
  return v;
}

// A value let go may run code that resolves names here: while it goes, the
// space has a shape nothing else has, so that nothing resolved meanwhile
// outlives the change.
bool Space::unbind(std::u16string_view name) {
  if (!bindings_->find(name)) return false;
  shape_ = uniqueShape();
  bindings_->removeKey(name);
  return true;
}

bool Space::rebind(std::u16string_view name, zorbel::ScriptValue* v) {
  return bindings_->replace(name, v);
}

void Space::unbindAll() {
  shape_ = uniqueShape();
  bindings_->clear();
  shape_ = kEmptyShape;
}

rt::Ref<zorbel::ScriptValue> findIn(zorbel::ScriptSpace& ss, std::u16string_view name) {
  if (auto* own = static_cast<Space*>(ss.query(Space::iid))) return own->find(name);
  return ss.existValue(name) ? ss.value(name) : nullptr;
}

void unbindAllIn(zorbel::ScriptSpace* ss) {
  auto* own = ss ? static_cast<Space*>(ss->query(Space::iid)) : nullptr;
  if (!own) return;
  own->unbindAll();
  // What only the bindings held, rings of values included, goes now, not
  // when the values listed next double.
  rt::Rings::look();
}

bool progIdOf(jespin::IVValues& typeDefs, std::u16string_view typeName, std::u16string& progId) {
  if (!typeDefs.exist(typeName)) return false;
  progId = rt::toText(typeDefs.item(rt::Variant(typeName))->value());
  return true;
}

rt::Ref<zorbel::ScriptValue> newTypedValue(std::u16string_view progId, std::u16string_view name) {
  rt::Ref<zorbel::ScriptValue> v = rt::queryRef<zorbel::ScriptValue>(rt::createObject(progId).get());
  if (!v) rt::raise(rt::err::NoAutomation, progId);
  v->setKey(name);
  return v;
}

}  // namespace engine
