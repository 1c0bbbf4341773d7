#include "core/createtree.h"

#include <string>
#include <utility>

#include "rt/text.h"

namespace engine {

namespace {

ExpItem synthesized(int32_t code, const char16_t* text) { return ExpItem{code, rt::Variant(text)}; }

int32_t priority(const std::optional<ExpItem>& op) { return op ? op->opRight() : -1; }

// Operators that may stand before their operand.
bool canBePrefix(int32_t code) {
  return code == tok::Plus || code == tok::Minus || code == tok::Not || code == tok::Increment ||
         code == tok::Decrement;
}

// x++ and x-- are complete without a right operand.
bool isCompletePostfix(const expTree& t) {
  int32_t op = t.opItem->iType;
  return (op == tok::Increment || op == tok::Decrement) && (t.lItem || t.lTree);
}

bool hasRight(const expTree& t) { return t.rItem || t.rTree; }

}  // namespace

CreateTree::CreateTree() : error_(u"CreateTree") {
  frames_.push_back(Frame{std::make_unique<expTree>(), nullptr, 0});
  frames_.back().tree = frames_.back().root.get();
}

std::unique_ptr<expTree> CreateTree::takeRoot() {
  std::unique_ptr<expTree> r = std::move(frames_.front().root);
  frames_.resize(1);
  frames_.front().root = std::make_unique<expTree>();
  frames_.front().tree = frames_.front().root.get();
  nodes_ = 0;
  return r;
}

namespace {

// Made once: a full builder records it again for every token it refuses.
const std::u16string& tooManyNodes() {
  static const std::u16string text = rt::errorText(rt::err::ExpressionTooComplex) +
                                     u"：表达式超过 " + rt::ascii(std::to_string(kMaxTreeNodes)) +
                                     u" 个节点";
  return text;
}

}  // namespace

void CreateTree::countNode() {
  if (++nodes_ > kMaxTreeNodes)
    rt::raiseWith(rt::err::ExpressionTooComplex, tooManyNodes(), u"NewNode");
}

std::unique_ptr<expTree> CreateTree::newNode() {
  countNode();
  return std::make_unique<expTree>();
}

void CreateTree::add(const ExpItem& ei) {
  error_.clear();
  if (nodes_ > kMaxTreeNodes) {
    // Full: every further token is refused.
    error_.info().readError(rt::err::ExpressionTooComplex, {}, tooManyNodes(), u"Add");
    return;
  }
  try {
    int32_t code = ei.iType;
    if (tok::isClosingBracket(code)) {
      // Any closing bracket closes a group opened by any bracket.
      if (frames_.size() > 1) closeGroup(ei);
      else error_.setCode(ErrBracket, u"Add");
    } else if (tok::isKeyword(code)) {
      error_.setCode(ErrKeyword, u"Add");
    } else if (!tok::isOperator(code)) {
      addOperand(ei);
    } else if (code == tok::Blank) {
      // Blank space has no meaning in a tree.
    } else if (tok::isOpeningBracket(code)) {
      openGroup(code);
    } else {
      addOperator(ei);
    }
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"Add");
  }
}

void CreateTree::finish() {
  if (frames_.size() > 1) error_.setCode(ErrBracket, u"Add");
}

void CreateTree::addOperand(const ExpItem& e) {
  expTree* t = frames_.back().tree;
  if (!t->opItem) {
    if (!t->lTree && !t->lItem) {
      t->lItem = e;
    } else {
      t->opItem = synthesized(tok::SubOp, u"Sub");
      t->rItem = e;
    }
  } else if (!hasRight(*t)) {
    t->rItem = e;
  } else {
    // An operand after a complete expression: a juxtaposition, placed by
    // its own priority like any operator, so "x = 1 : Print x" keeps the
    // separator at the top.
    addOperator(synthesized(tok::SubOp, u"Sub"));
    frames_.back().tree->rItem = e;
  }
}

void CreateTree::addOperator(const ExpItem& op) {
  Frame& f = frames_.back();
  expTree* t = f.tree;
  if (!t->opItem) {
    t->opItem = op;  // an infix operator after a left operand, or a prefix at the start
    return;
  }
  if (!hasRight(*t) && canBePrefix(op.iType) && !isCompletePostfix(*t)) {
    // Right after another operator: a prefix operator ("a * -b").
    std::unique_ptr<expTree> n = newNode();
    n->opItem = op;
    t->rTree = std::move(n);
    f.tree = t->rTree.get();
    return;
  }
  if (priority(f.root->opItem) < op.opRight()) {
    countNode();
    f.tree = f.root->add(op);  // sinks along the right side to its place
    return;
  }
  std::unique_ptr<expTree> n = newNode();
  n->opItem = op;
  n->lTree = std::move(f.root);
  f.root = std::move(n);
  f.tree = f.root.get();
}

void CreateTree::openGroup(int32_t opener) {
  std::unique_ptr<expTree> root = newNode();
  expTree* tree = root.get();
  frames_.push_back(Frame{std::move(root), tree, opener});
}

void CreateTree::closeGroup(const ExpItem& closer) {
  std::unique_ptr<expTree> g = std::move(frames_.back().root);
  frames_.pop_back();
  Frame& f = frames_.back();
  expTree* t = f.tree;
  bool square = closer.iType == tok::CloseSquare;
  ExpItem call = square ? synthesized(tok::GetOp, u"Get") : synthesized(tok::FnOp, u"Fn");
  if (!t->opItem) {
    if (!t->lTree && !t->lItem) {
      t->lTree = std::move(g);  // a group at the start of an expression
    } else {
      t->opItem = call;  // f(x) or a[i]
      t->rTree = std::move(g);
    }
  } else if (!hasRight(*t)) {
    // A bracketed right operand; the closing bracket marks the group.
    std::unique_ptr<expTree> n = newNode();
    n->opItem = closer;
    n->rTree = std::move(g);
    t->rTree = std::move(n);
  } else if (priority(f.root->opItem) < call.opRight()) {
    countNode();
    f.tree = f.root->add(call);  // x + f(1) calls the right operand
    f.tree->rTree = std::move(g);
  } else {
    std::unique_ptr<expTree> n = newNode();  // a.b(1) calls the member
    n->opItem = call;
    n->lTree = std::move(f.root);
    n->rTree = std::move(g);
    f.root = std::move(n);
    f.tree = f.root.get();
  }
}

std::unique_ptr<expTree> mkTree(std::span<const ExpItem> items) {
  CreateTree ct;
  auto fail = [&ct] {
    jespin::IErrInfo& e = ct.error().info();
    rt::raiseWith(e.number(), e.description(),
                  qualifiedSource(u"modGloble.MKTree") + u"\r\n" + e.source());
  };
  for (const ExpItem& ei : items) {
    ct.add(ei);
    if (ct.error().haveErr()) fail();
  }
  ct.finish();
  if (ct.error().haveErr()) fail();
  return ct.takeRoot();
}

}  // namespace engine
