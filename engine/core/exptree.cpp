#include "core/exptree.h"

#include <utility>

#include "core/tables.h"
#include "rt/convert.h"

namespace engine {

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
  std::u16string s = sideText(lTree, lItem);
  if (opItem) s += u" " + operatorText(*opItem);
  else s += u" (NoOp) ";
  s += u" " + sideText(rTree, rItem);
  return u" { " + s + u" } ";
}

}  // namespace engine
