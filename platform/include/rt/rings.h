// Rings of objects that nothing outside them holds, found and let go while
// a program runs (rings.cpp).
//
// Counting frees an object when its last reference goes, but not a ring:
// after "Set s.Parent = s" the value holds itself, and a list added to a
// value that the list holds keeps both.  A class whose objects hold others
// by counted references, and so can be part of a ring, implements
// HoldsObjects: it names what it holds and can let go of it.  Its objects
// are traced.  One let go of to a count above zero may have just become
// garbage (the reference that went may have been the last from outside its
// ring), so it becomes a possible root; a look starts from those alone, as
// synchronous cycle collection does:
//
//   - it walks what the possible roots reach through traced objects, and
//     counts for each the references that come from the others walked;
//   - an object with more references than that is held from outside, and
//     so is everything it reaches; whatever is left, nothing outside holds:
//     each lets go of what it holds, and the rings go.
//
// Every possible root leaves the list at a look.  What a look finds held
// rests, marked, until it is let go of again: a near look stops there, so
// what lives on untouched is not walked again, and a near look costs what
// its roots reach of what is new.  An object walked that holds one of those
// is put aside for the next full look, which walks through everything from
// the roots and what was put aside (a ring may pass there); full looks come
// as often as what near looks found held doubles, and when a host lets go
// of everything.
//
// An object that cannot name what it holds counts as held from outside: a
// ring through it is never found.  What the objects walked hold counts as
// theirs only through counted references they name; engine code keeps what
// it works on in counted references, so a look finds it held.
//
// Looks run where code calls for them (lookIfDue: at points where nothing is
// half done, as after a statement stores an object), never inside a
// release, and when a host lets go of everything (look).  Each thread keeps
// its own possible roots, as each thread keeps its own objects; another
// thread never touches them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rt/api.h"
#include "rt/object.h"

namespace rt {

// What a traced object hands each object it holds to.
class HeldVisitor {
 public:
  virtual void held(Object* o) noexcept = 0;

 protected:
  ~HeldVisitor() = default;
};

class HoldsObjects : public virtual Object {
 public:
  static constexpr Iid iid = guidOf("rt.HoldsObjects");

  // Hands `visit` every object this one holds by a counted reference of its
  // own, once for each such reference, and nothing else.  It must not change
  // anything, allocate or call out.
  virtual void eachHeld(HeldVisitor& visit) noexcept = 0;
  // Lets go of everything eachHeld names: how a ring that nothing else holds
  // is broken.  The object stays usable, as if emptied.
  virtual void letGoOfHeld() noexcept = 0;

 protected:
  HoldsObjects() noexcept { rings_ = kRingTraced; }
  // For an object whose contents something else answers for (the variables
  // of a script space): it is never walked, and what it holds counts as held
  // from outside.  Called by its maker before anything else holds it.
  void untraced() noexcept { rings_ = 0; }
};

class Rings {
 public:
  // How often looks run: spread over the possible roots made (the usual);
  // at every chance, a near look, and a full one at every eighth (tests: a
  // fault shows at the step that made it); or only when asked (look).
  enum class Pace { Spread, EveryChance, OnlyWhenAsked };

  // A near look once a thousand possible roots have been made since the
  // last one (more after one that walked a structure new to it: as many as
  // it walked beyond its roots' own), then a full look if what near looks
  // found held has doubled since the last one: what looks cost stays in
  // proportion to what the script does.
  RT_API static void lookIfDue() noexcept;
  // A full look now, whatever the pace: a host lets go of everything.
  RT_API static void look() noexcept;
  RT_API static void setPace(Pace p) noexcept;

  // The possible roots of this thread, and how many objects its looks have
  // walked so far (for tests).
  RT_API static size_t possibleRoots() noexcept;
  RT_API static size_t walkedSoFar() noexcept;

 private:
  friend class Object;
  struct Look;  // rings.cpp
  // `o`, let go of to a count above zero, becomes a possible root.
  static void addPossibleRoot(Object& o) noexcept;
  // The last reference to `o` has gone: it leaves the lists, and true when
  // the look running now destroys it later.
  static bool letGo(Object& o) noexcept;
  static uint32_t& stateOf(Object& o) noexcept { return o.rings_; }
  static uint32_t countOf(const Object& o) noexcept { return o.refs_; }
};

}  // namespace rt
