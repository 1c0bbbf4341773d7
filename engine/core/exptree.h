// The compiled form of one statement or expression: a tree of operator
// nodes, each with a left and a right operand that is either a single token
// (an item) or a subtree.  On each side a subtree takes precedence over an
// item; a side with neither is absent.  A node with an operator and only a
// right side is a prefix operator.
//
// Trees are grown by the tree builder (createtree.h), which keeps them within
// kMaxTreeNodes nodes, so code that walks a tree may recurse.  Running a tree
// is the evaluator's: statements in operation.cpp, expressions in
// evaluate.cpp.  A node never raises while it runs: failures land in its
// error record, and the caller tests it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/bindings.h"
#include "core/errors.h"
#include "core/expitem.h"
#include "core/operand.h"
#include "zorbel/zorbel.h"

namespace engine {

class expTree {
 public:
  expTree() : error_(u"ExpTree") {}
  // Takes the subtrees apart without recursing: a tree may be as deep as it
  // has nodes.
  ~expTree();
  expTree(const expTree&) = delete;
  expTree& operator=(const expTree&) = delete;

  std::optional<ExpItem> opItem;
  std::optional<ExpItem> lItem;
  std::optional<ExpItem> rItem;
  std::unique_ptr<expTree> lTree;
  std::unique_ptr<expTree> rTree;

  // No operand on either side (the operator is not looked at).
  bool isEmpty() const { return !lTree && !lItem && !rItem && !rTree; }

  // Inserts operator `ei` along the right side of this node by priority and
  // returns the node that now holds it, which takes the next operand.
  // Equal priorities group to the left.
  expTree* add(const ExpItem& ei);

  // The tree as text, for messages: " { left op right } ".
  std::u16string toString() const;

  // Runs the tree as a statement: assignments, calls, sequences.
  void operation(zorbel::ScriptSpace& ss);
  // Evaluates the tree in result mode `rf` (zorbel::ResultMode); null when
  // it fails or yields nothing.
  rt::Ref<zorbel::ScriptValue> getValue(zorbel::ScriptSpace& ss, int32_t rf);
  // getValue without a holder for a computed result: the evaluator's own
  // path between operators.  False when the node recorded an error.
  bool evaluate(zorbel::ScriptSpace& ss, int32_t rf, Operand& out);
  // evaluate for the target of an assignment: a call with round brackets,
  // o.P(k), stands for what its arguments select, as o.P[k] does, so that
  // the assignment lets the value there (a library function is still
  // called: IIf gives the argument it chose).
  bool evaluateTarget(zorbel::ScriptSpace& ss, Operand& out);
  // One side run as a statement, or evaluated.
  void lRun(zorbel::ScriptSpace& ss);
  void rRun(zorbel::ScriptSpace& ss);
  rt::Ref<zorbel::ScriptValue> lValue(zorbel::ScriptSpace& ss, int32_t rf);
  rt::Ref<zorbel::ScriptValue> rValue(zorbel::ScriptSpace& ss, int32_t rf);

  ErrRecord& error() { return error_; }

  // What the name operand on each side (left, right) resolved to last.
  NameCache names[2];

  // What the evaluator's short path makes of the node (quickeval.h),
  // worked out on its first run.
  enum class Quick : uint8_t { Unknown, Operator, Group, No };
  Quick quick = Quick::Unknown;
  // For an Operator node whose operator rt::whole computes in line, that
  // operator (an rt::whole::Op) plus one; 0 for any other.
  uint8_t quickWhole = 0;
  // For a tree the short path takes, its height (quickeval.cpp).
  uint8_t quickHeight = 0;
  // A call node whose callee was once no library function: the evaluator
  // no longer tries handing it plain arguments (evaluate.cpp).
  bool notLibraryCall = false;
  // The holder a call made last for a computed number it passed, kept to
  // be filled anew (evaluate.cpp).
  rt::Ref<zorbel::ScriptValue> argHolder;
  // For a member node, its member as used directly (operand.h).
  MemberUse memberUse;

 private:
  ErrRecord error_;
};

}  // namespace engine
