// The tree builder: a token list into an expression tree, token by token, by
// operator priority.
//
// Two operands in a row make a juxtaposition call ("Sub"), an operand
// followed by a bracket group a call ("Fn"), or with square brackets an
// index ("Get").  Bracket groups nest to any depth without recursion; the
// builder keeps one frame per open group.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/expitems.h"
#include "core/exptree.h"
#include "zorbel/zorbel.h"

namespace engine {

// The most nodes one tree may have.  Evaluating a tree recurses along its
// depth, and the depth of a tree is at most its node count.
constexpr int32_t kMaxTreeNodes = 1024;

class CreateTree {
 public:
  CreateTree();
  CreateTree(const CreateTree&) = delete;
  CreateTree& operator=(const CreateTree&) = delete;

  // Feeds one token.  Never raises: a token that cannot be placed is dropped
  // and the error recorded (101 keyword, 102 bracket, runtime error 16 tree too big);
  // the error lasts until the next add.
  void add(const ExpItem& ei);
  // After the last token: a group still open records 102.
  void finish();

  // The tree built so far.
  expTree& root() { return *frames_.front().root; }
  std::unique_ptr<expTree> takeRoot();

  int32_t errCode() { return error_.haveErr() ? error_.info().number() : 0; }
  std::u16string errString() {
    return error_.haveErr() ? error_.info().description() : std::u16string();
  }
  ErrRecord& error() { return error_; }

 private:
  struct Frame {
    std::unique_ptr<expTree> root;
    expTree* tree;   // where the next operand goes
    int32_t opener;  // the bracket that opened the group (0 at the top)
  };

  void addOperand(const ExpItem& e);
  void addOperator(const ExpItem& op);
  void openGroup(int32_t opener);
  void closeGroup(const ExpItem& closer);
  void countNode();
  std::unique_ptr<expTree> newNode();

  std::vector<Frame> frames_;
  int32_t nodes_ = 0;
  ErrRecord error_;
};

// Builds the tree of a whole list.  Raises the first error recorded, with
// Source "<library>.modGloble.MKTree" CR LF the builder's source.  An empty
// list gives an empty root.
std::unique_ptr<expTree> mkTree(std::span<const ExpItem> items);
inline std::unique_ptr<expTree> mkTree(const ExpItems& items) {
  return mkTree(std::span<const ExpItem>(items.begin(), items.end()));
}

// Builds the tree of `items` and evaluates it in `ss` with result mode `rf`;
// a tree error is raised so that the caller's trap receives it.
rt::Ref<zorbel::ScriptValue> evalItems(zorbel::ScriptSpace& ss, const ExpItems& items, int32_t rf);

}  // namespace engine
