// The three simple blocks: runs of plain statements, runs of declarations,
// and Exit.  An error found while a line was fed stays in the block's record
// and is reported each time the block runs; an error of a run stays only
// until the next run that ends well.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/execbody.h"
#include "core/exptree.h"
#include "jespin/values.h"

namespace engine {

// Plain statements, one expression tree per line, built while fed.
class BodySerial final : public ExecBody {
 public:
  BodySerial() : ExecBody(u"BodySerial") {}

  // Settles what each "=" of the line means, in place, then builds its tree;
  // a line the tree builder rejects is dropped with the error recorded.
  void addCode(ExpItems& eis) override;
  // Runs the trees in order and stops at the first error; always 0.
  int32_t execute(zorbel::ScriptSpace& ss) override;
  bool isOver() const override { return false; }

  size_t treeCount() const { return statements_.size(); }
  expTree& tree(size_t i) { return *statements_.at(i).tree; }

 private:
  struct Statement {
    std::unique_ptr<expTree> tree;
    int32_t line;
  };
  std::vector<Statement> statements_;
  bool fedFailed_ = false;
};

// Dim lines: "Dim name [As type] {, name [As type]}", declared in order.
class BodyDim final : public ExecBody {
 public:
  BodyDim();

  // A name without "As" declares nothing (the scope makes a plain variable
  // on first use); a name declared twice in one block is an error.
  void addCode(ExpItems& eis) override;
  // Declares each name in the scope; stops at the first refusal.  Always 0.
  int32_t execute(zorbel::ScriptSpace& ss) override;
  bool isOver() const override { return false; }

  // Name to type name, in source order.
  jespin::IVValues& declarations() { return *decls_; }

 private:
  rt::Ref<jespin::IVValues> decls_;
  std::vector<int32_t> lines_;  // the line of each declaration
  bool fedFailed_ = false;
};

// "Exit Do", "Exit For", "Exit Function", "Exit Sub".
class BodyExit final : public ExecBody {
 public:
  BodyExit() : ExecBody(u"BodyExit") {}

  void addCode(ExpItems& eis) override;
  int32_t execute(zorbel::ScriptSpace&) override { return target_; }
  bool isOver() const override { return true; }

 private:
  int32_t target_ = ExitNone;
};

}  // namespace engine
