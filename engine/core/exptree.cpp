#include "core/exptree.h"

#include <utility>

#include "core/tables.h"
#include "rt/convert.h"
#include "rt/stack.h"

namespace engine {

expTree::~expTree() {
  for (std::unique_ptr<expTree>* side : {&lTree, &rTree}) {
    std::unique_ptr<expTree> root = std::move(*side);
    while (root) {
      if (root->lTree) {
        // Rotate right: the left child becomes the root, so the nodes line
        // up along the right side.
        std::unique_ptr<expTree> l = std::move(root->lTree);
        root->lTree = std::move(l->rTree);
        l->rTree = std::move(root);
        root = std::move(l);
      } else {
        root = std::move(root->rTree);  // the old root goes, with no subtree left
      }
    }
  }
}

expTree* expTree::add(const ExpItem& ei) {
  error_.clear();
  expTree* node = this;
  for (;;) {
    expTree* right = node->rTree.get();
    if (!right) {
      // The right operand becomes the left operand of the new operator.
      auto n = std::make_unique<expTree>();
      n->opItem = ei;
      n->lItem = std::move(node->rItem);
      node->rItem.reset();
      node->rTree = std::move(n);
      return node->rTree.get();
    }
    if (!right->opItem) {
      right->opItem = ei;
      return right;
    }
    if (ei.opRight() > right->opItem->opRight()) {
      node = right;  // binds tighter: goes further down the right side
      continue;
    }
    auto n = std::make_unique<expTree>();
    n->opItem = ei;
    n->lTree = std::move(node->rTree);
    node->rTree = std::move(n);
    return node->rTree.get();
  }
}

namespace {

std::u16string sideText(const std::unique_ptr<expTree>& tree, const std::optional<ExpItem>& item) {
  if (tree) return tree->toString();
  if (item) return item->toString();
  return u"(none)";
}

// Operators read from a compiled stream carry no text; their code still
// names them.
std::u16string operatorText(const ExpItem& op) {
  std::u16string t = rt::toText(op.iValue);
  return t.empty() ? codeToText(op.iType) : t;
}

}  // namespace

std::u16string expTree::toString() const {
  rt::stack::check();
  std::u16string s = sideText(lTree, lItem);
  if (opItem) s += u" " + operatorText(*opItem);
  else s += u" (NoOp) ";
  s += u" " + sideText(rTree, rItem);
  return u" { " + s + u" } ";
}

}  // namespace engine
