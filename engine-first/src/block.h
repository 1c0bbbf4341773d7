// What the first edition's block statements share (If, Select, Do, For,
// For Each, With): the opening line first, then every later line up to the
// closing one, counting statements of the same kind nested inside; and the
// replay of stored lines through a fresh line dispatcher.
#pragma once

#include <cstdint>
#include <string_view>

#include "execbody.h"
#include "line.h"

namespace dovrel {

// How lines open and close statements of one kind.
struct BlockKind {
  int32_t opener;         // the keyword of the opening line (If, Select, Do, For, With)
  int32_t closer;         // EndIf, EndSelect, Loop, Next, EndWith
  int32_t syntaxError;    // the engine error of a malformed statement: 4, 6, 5, 3, 1002
  // Whether `line` opens another statement of this kind, one that takes
  // lines up to a closing line of its own.
  bool (*opens)(const Line& line);
  // How many closing lines a statement of this kind opened by `line`
  // still needs (0 when the line holds the whole statement).
  int32_t (*leftOpen)(const Line& line);
};

// A statement that takes the lines up to its closing line: a running block,
// or one whose opening line failed and whose lines are passed over.
class OpenStatement : public ExecBody {
 public:
  // The number of the line it opened on, and that line's first keyword.
  int32_t openingLine() const { return openingLine_; }
  int32_t opener() const { return opener_; }
  const BlockKind& kind() const { return kind_; }

 protected:
  OpenStatement(std::u16string_view classId, const BlockKind& kind, const Line* opening)
      : ExecBody(classId), kind_(kind) {
    if (opening) opened(*opening);
  }
  void opened(const Line& line) {
    openingLine_ = line.number();
    opener_ = line.first();
  }

  const BlockKind& kind_;

 private:
  int32_t openingLine_ = 0;
  int32_t opener_ = 0;
};

class Block : public OpenStatement {
 public:
  // Clears the record, then reads the opening line or a later one; a
  // failure is recorded under "ExecBody_Execute".
  void execute(zorbel::ScriptSpace& ss, Line& line) final;
  bool isOver() const final { return over_; }

 protected:
  // `depth`: the block statements around this one's lines, itself counted.
  Block(std::u16string_view classId, const BlockKind& kind, int32_t depth)
      : OpenStatement(classId, kind, nullptr), depth_(depth) {}

  // Both may raise.  A failing opening line leaves the block unstarted.
  virtual void firstLine(zorbel::ScriptSpace& ss, Line& line) = 0;
  virtual void nextLine(zorbel::ScriptSpace& ss, Line& line) = 0;

  // Counts the nesting of statements of this kind: true for the closing
  // line of this one, which then is over (however its run ends).  Any
  // other line nested deeper or shallower is false.
  bool closes(const Line& line);
  // The loops' and With's later lines: true for the closing line; any
  // other is stored, to run when the closing line arrives.
  bool gathered(Line& line) {
    if (closes(line)) return true;
    lines_.push_back(rt::Ref<Line>(&line));
    return false;
  }

  // Replays `lines` in order through a fresh dispatcher; a failure is
  // raised again unchanged and ends the replay, an Exit ends it (exitId_
  // set, false).  A block statement still open after the last line is an
  // error, never dropped without a word.  Every replay is one step of the
  // budget (steps.h).
  bool runBody(zorbel::ScriptSpace& ss, const Lines& lines);

  const int32_t depth_;
  bool over_ = false;
  int32_t nesting_ = 0;
  Lines lines_;  // the lines stored to run

 private:
  bool started_ = false;
};

// Lets the message loop run once: after each pass of Do and For, each
// element of For Each.  False, without yielding, when the embedding program
// has ended the run (in the pass, or in the yield): the loop ends there.
bool yieldToHost();

}  // namespace dovrel
