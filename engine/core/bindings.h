// What lets the evaluator keep where a name resolved.  A name operand
// remembers the position its name was found at and the shape of every
// space on the way there (space.h); while those spaces keep their shapes,
// the name resolves to whatever is bound at that position now.  Since the
// spaces of successive calls of a function share their shapes, a name in a
// function body is looked up once, not once per call.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/libraryepoch.h"
#include "core/operand.h"
#include "core/scriptvalues.h"
#include "core/space.h"
#include "zorbel/zorbel.h"

namespace engine {

class FLGeneral;
class IFunLibs;

// Where one name operand of a tree resolved last: a position in a space, or
// for a name bound nowhere, the root's library that has it.
struct NameCache {
  // Names found further out than this are looked up each time.
  static constexpr int32_t kMaxDepth = 4;
  Shape shapes[kMaxDepth + 1] = {};  // from the space of the lookup outward
  int32_t depth = 0;                 // how many spaces out it was found
  int32_t position = 0;              // there, from 1; 0: no binding kept
  // The library and the root's list it was found through, while
  // libraryEpoch is `epoch`; null: no library kept.
  FLGeneral* library = nullptr;
  const IFunLibs* libraries = nullptr;
  uint64_t epoch = 0;
};

// `ss` as an engine space, or null.  The answers for the last two engine
// spaces asked are kept (one thread runs the engine, and a call goes back
// and forth between its caller's space and its own); a space forgets them
// when it goes.
class EngineSpaces {
 public:
  static Space* of(zorbel::ScriptSpace& ss) {
    if (&ss == kept_[0].asked) return kept_[0].answer;
    if (&ss == kept_[1].asked) return kept_[1].answer;
    return query(ss);
  }
  static void forget(const Space* s) {
    for (Kept& k : kept_)
      if (k.answer == s) k = Kept{nullptr, nullptr};
  }

 private:
  struct Kept {
    const zorbel::ScriptSpace* asked;
    Space* answer;
  };
  static Space* query(zorbel::ScriptSpace& ss);
  static inline Kept kept_[2] = {};
};

// The space where `cache` found its name, when a lookup from `s` would find
// it there again: no space on the way has changed its shape since.
inline const Space* keptSpace(const Space* s, const NameCache& cache) {
  if (cache.position == 0) return nullptr;
  for (int32_t d = 0;; ++d) {
    if (!s || s->shape() != cache.shapes[d]) return nullptr;
    if (d == cache.depth) return s->bindings().holds(cache.position) ? s : nullptr;
    s = s->enclosing();
  }
}

// FLGeneral::make: a fresh function object of `lib` for a name it has.
rt::Ref<zorbel::ScriptValue> libraryFunction(const FLGeneral& lib, std::u16string_view name);

// Whether `cache` keeps the library a lookup from `s` would find its name
// in: no space on the way to the root has changed its shape (so the name is
// still bound nowhere), the root's libraries are the same list, and no list
// or library has changed since.
inline bool keptLibrary(const Space* s, const NameCache& cache) {
  if (!cache.library || cache.epoch != libraryEpoch) return false;
  for (int32_t d = 0;; ++d) {
    if (!s || s->shape() != cache.shapes[d]) return false;
    if (d == cache.depth) return !s->enclosing() && s->functionLibs() == cache.libraries;
    s = s->enclosing();
  }
}

// Sets `out` to what `name` resolves to without the cache, keeping where
// the name was found when it is bound in a chain of engine spaces.
void resolveAgain(zorbel::ScriptSpace& ss, std::u16string_view name, NameCache& cache,
                  Operand& out);

// Sets `out` to ss.value(name), taken from `cache` while it holds.  What is
// kept is a variable bound in a chain of engine spaces, or the library of a
// name bound nowhere in a chain up to the root; a library function is made
// anew by its library and a new name is created by the space, as every
// lookup does.
inline void resolve(zorbel::ScriptSpace& ss, std::u16string_view name, NameCache& cache,
                    Operand& out) {
  const Space* first = EngineSpaces::of(ss);
  if (const Space* s = keptSpace(first, cache)) {
    const ScriptValues::Bound b = s->bindings().boundAt(cache.position);
    out.setObject(b.value, b.direct);
    return;
  }
  if (keptLibrary(first, cache)) {
    if (rt::Ref<zorbel::ScriptValue> f = libraryFunction(*cache.library, name)) {
      out.setObject(std::move(f));
      return;
    }
  }
  resolveAgain(ss, name, cache, out);
}

}  // namespace engine
