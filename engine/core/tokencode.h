// The token code word carried by every token.
//
//   bits 24-31  class: 0x00 name, 0x01 keyword, 0x02 operator, 0x03 literal
//   bits 16-23  operator: binding priority (higher binds tighter);
//               keyword: group (0x01 jumps, 0x80 block end); literal: kind
//   bits 0-15   index; a statement keyword's high byte is its statement,
//               the low byte its clause (0x00 opens the statement)
//
// A closing keyword is its opener plus BlockEnd; a closing bracket is its
// opening bracket plus CloseOffset.  The tables that map text to codes are
// resources (tables.h); the codes the engine tests directly are named here.
#pragma once

#include <cstdint>

namespace engine::tok {

enum Class : int { ClassName = 0x00, ClassKeyword = 0x01, ClassOperator = 0x02, ClassLiteral = 0x03 };

constexpr int classOf(int32_t code) { return static_cast<int>(static_cast<uint32_t>(code) >> 24); }
constexpr bool isKeyword(int32_t code) { return code >= 0x01000000 && code < 0x02000000; }
constexpr bool isOperator(int32_t code) { return classOf(code) == ClassOperator; }
// The priority byte in place (not shifted), as the tree builder compares it.
constexpr int32_t priorityOf(int32_t code) { return code & 0x00FF0000; }

// Names and literals.
constexpr int32_t Name = 0x00000000;
constexpr int32_t StringLit = 0x03000000;
constexpr int32_t IntegerLit = 0x03010000;
constexpr int32_t FloatLit = 0x03020000;
constexpr int32_t DateLit = 0x03030000;

// Operators.
constexpr int32_t Blank = 0x02000000;  // blank space stood between two tokens
constexpr int32_t OpenParen = 0x02000001;
constexpr int32_t OpenSquare = 0x02000002;
constexpr int32_t OpenBrace = 0x02000003;
constexpr int32_t CloseOffset = 0x00500000;
constexpr int32_t CloseParen = OpenParen + CloseOffset;
constexpr int32_t CloseSquare = OpenSquare + CloseOffset;
constexpr int32_t CloseBrace = OpenBrace + CloseOffset;
constexpr int32_t Separator = 0x02000009;  // ":" and ";"
constexpr int32_t Comma = 0x02030004;
constexpr int32_t Assign = 0x02010002;     // ":="
constexpr int32_t Equals = 0x02FF0001;     // "=", settled by the statement
constexpr int32_t AddAssign = 0x02010005;  // "+="
constexpr int32_t SubAssign = 0x02010006;  // "-="
constexpr int32_t SetAssign = 0x02010007;  // ".=", object rebinding
constexpr int32_t Plus = 0x02330002;
constexpr int32_t Minus = 0x02330003;
constexpr int32_t Times = 0x02360006;
constexpr int32_t Divide = 0x02360007;
constexpr int32_t IntDivide = 0x02350005;  // "\"
constexpr int32_t Modulo = 0x02340004;     // "mod" and "%"
constexpr int32_t Power = 0x02380008;
constexpr int32_t Concat = 0x02320001;     // "&"
constexpr int32_t Less = 0x02200001;
constexpr int32_t LessEqual = 0x02200002;
constexpr int32_t Greater = 0x02200003;
constexpr int32_t GreaterEqual = 0x02200004;
constexpr int32_t EqualEqual = 0x02200005;  // "=="
constexpr int32_t NotEqual = 0x02200006;    // "<>" and "!="
constexpr int32_t Like = 0x02200007;        // "Link"
constexpr int32_t Is = 0x02200008;
constexpr int32_t Not = 0x02160101;
constexpr int32_t And = 0x02150002;
constexpr int32_t Or = 0x02140003;
constexpr int32_t Xor = 0x02130004;
constexpr int32_t Eqv = 0x02120005;
constexpr int32_t Imp = 0x02110006;
constexpr int32_t Increment = 0x02390109;
constexpr int32_t Decrement = 0x023901A0;
constexpr int32_t Member = 0x02410001;     // "."
// Made up by the tree builder: juxtaposition, call with (...), index with [...].
constexpr int32_t SubOp = 0x02020003;
constexpr int32_t FnOp = 0x02410002;
constexpr int32_t GetOp = 0x02410003;

constexpr bool isOpeningBracket(int32_t c) {
  return c == OpenParen || c == OpenSquare || c == OpenBrace;
}
constexpr bool isClosingBracket(int32_t c) {
  return c == CloseParen || c == CloseSquare || c == CloseBrace;
}

// Keywords.
constexpr int32_t BlockEnd = 0x00800000;
constexpr int32_t Public = 0x01000001;
constexpr int32_t Private = 0x01000002;
constexpr int32_t Set = 0x01000005;
constexpr int32_t Dim = 0x01000006;
constexpr int32_t As = 0x01000007;
constexpr int32_t Do = 0x01000100;
constexpr int32_t While = 0x01000101;
constexpr int32_t Until = 0x01000102;
constexpr int32_t For = 0x01000200;
constexpr int32_t To = 0x01000201;
constexpr int32_t Step = 0x01000202;
constexpr int32_t Each = 0x01000203;
constexpr int32_t If = 0x01000300;
constexpr int32_t Then = 0x01000301;
constexpr int32_t Else = 0x01000302;
constexpr int32_t ElseIf = 0x01000303;
constexpr int32_t Select = 0x01000400;
constexpr int32_t Case = 0x01000401;
constexpr int32_t With = 0x01000500;
constexpr int32_t ForEach = 0x01000600;
constexpr int32_t In = 0x01000601;
constexpr int32_t Function = 0x01001100;
constexpr int32_t Sub = 0x01001200;
constexpr int32_t End = 0x01800000;
constexpr int32_t Loop = Do + BlockEnd;
constexpr int32_t Next = For + BlockEnd;
constexpr int32_t EndIf = If + BlockEnd;
constexpr int32_t EndSelect = Select + BlockEnd;
constexpr int32_t EndWith = With + BlockEnd;
constexpr int32_t EndFunction = Function + BlockEnd;
constexpr int32_t EndSub = Sub + BlockEnd;
constexpr int32_t Goto = 0x01010100;
constexpr int32_t Exit = 0x01010200;
constexpr int32_t Return = 0x01010300;
constexpr int32_t Call = 0x01010400;

}  // namespace engine::tok
