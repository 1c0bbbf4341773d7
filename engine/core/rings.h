// Rings of general values that nothing holds any more, found and broken
// while a host runs (rings.cpp).
//
// "Set s.Parent = s" makes s hold an attribute that holds s, which counted
// references alone never free.  Every such ring passes through a general
// value whose value is an object, so those values are listed as they come
// to hold one; a look starts from all of them.  A look runs when the list
// has doubled since the last one, or grown by an eighth of what that look
// walked if that is more, so its cost is spread over the values listed
// meanwhile; and whenever a host lets go of everything.
//
// A look frees only what no counted reference from outside the rings
// reaches: engine code keeps what it works on in counted references, and a
// raw pointer is kept only to something such a reference holds.
#pragma once

#include <cstddef>
#include <cstdint>

namespace engine {

class SvGeneral;

class Rings {
 public:
  // The place of a value that is not listed.
  static constexpr uint32_t kUnlisted = UINT32_MAX;

  // `g`, not listed yet, has come to hold an object; a look may follow.
  static void enlist(SvGeneral& g);
  // `g`, listed, is going.
  static void delist(SvGeneral& g);
  // Breaks every ring of general values (and the aliases among them) that
  // nothing else holds.  Rings through other objects (a collection that
  // holds itself) are not looked into.
  static void breakUnheld();
  // How many values are listed.
  static size_t listed();
};

}  // namespace engine
