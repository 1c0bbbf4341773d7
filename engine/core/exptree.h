// The compiled form of one statement or expression: a tree of operator
// nodes, each with a left and a right operand that is either a single token
// (an item) or a subtree.  On each side a subtree takes precedence over an
// item; a side with neither is absent.  A node with an operator and only a
// right side is a prefix operator.
//
// Trees are grown by the tree builder (createtree.h), which keeps them within
// kMaxTreeNodes nodes, so code that walks a tree may recurse.  Running a tree
// (Operation, GetValue) belongs with the evaluator, in its own source file.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/errors.h"
#include "core/expitem.h"

namespace engine {

class expTree {
 public:
  expTree() : error_(u"ExpTree") {}
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

  ErrRecord& error() { return error_; }

 private:
  ErrRecord error_;
};

}  // namespace engine
