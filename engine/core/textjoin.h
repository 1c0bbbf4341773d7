// "a & b & c ...": a chain of "&" operators, each the left side of the
// next, evaluated as one join.  The text the chain starts with is kept as
// it was read, not copied, and the later pieces are gathered after it; the
// result is what the operators one by one give.  A statement "x = x & ..."
// then appends the pieces to x's own text in place, so that a text built up
// piece by piece takes time in proportion to its length.
#pragma once

#include <string>

#include "core/exptree.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace engine {

class SvGeneral;

class TextJoin {
 public:
  // Whether `node` is a "&" (the top of a chain).
  static bool joins(const expTree& node);

  // Evaluates the chain whose top is `node` as node.evaluate would: the
  // same steps in the same order, each node recording its own failures.
  // False when `node` holds an error.
  bool evaluate(expTree& node, zorbel::ScriptSpace& ss);

  // The value of the chain: Null, or a String.
  rt::Variant result() const;

  // What letting result() into `target` does, done by appending in place,
  // when `target` holds the very text the chain started with (the join
  // then lets go of it).  False, with nothing done, otherwise.
  bool appendTo(SvGeneral& target);

 private:
  // One "&" of the chain, inside the node's own evaluation.
  bool joinAt(expTree& node, zorbel::ScriptSpace& ss);
  // "&" as the runtime's opCat takes its operands: an object by its value,
  // Null as "" unless both sides are Null.
  void start(const rt::Variant& a, const rt::Variant& b);
  void add(const rt::Variant& b);

  rt::Variant head_;     // a String: the text the chain starts with
  std::u16string tail_;  // what the later pieces add
  bool null_ = false;    // the chain so far gives Null
};

}  // namespace engine
