#include "core/compoundbodies.h"

#include <string>

#include "core/conditionals.h"
#include "core/loops.h"
#include "core/place.h"
#include "core/tables.h"
#include "rt/error.h"
#include "rt/text.h"

namespace engine {

std::unique_ptr<ExecBody> newCompoundBody(int32_t keyword, int32_t depth) {
  if (depth > kMaxBlockDepth)
    rt::raiseWith(rt::err::OutOfStackSpace,
                  rt::errorText(rt::err::OutOfStackSpace) + u"：语句块嵌套超过 " +
                      rt::ascii(std::to_string(kMaxBlockDepth)) + u" 层",
                  u"NewBody");
  switch (keyword) {
    case tok::Do: return std::make_unique<BodyDo>(depth);
    case tok::For: return std::make_unique<BodyFOR>(depth);
    case tok::ForEach: return std::make_unique<BodyForEach>(depth);
    case tok::If: return std::make_unique<BodyIF>(depth);
    case tok::Select: return std::make_unique<BodySELECT>(depth);
    case tok::With: return std::make_unique<BodyWITH>(depth);
    default: rt::raise(rt::err::Internal, codeToText(keyword) + u" opens no statement");
  }
}

namespace {

struct BlockWords {
  const char16_t* opens;
  const char16_t* closes;
};

BlockWords blockWords(int32_t opener) {
  switch (opener) {
    case tok::If: return {u"If", u"End If"};
    case tok::For: return {u"For", u"Next"};
    case tok::ForEach: return {u"For Each", u"Next"};
    case tok::Do: return {u"Do", u"Loop"};
    case tok::Select: return {u"Select Case", u"End Select"};
    case tok::With: return {u"With", u"End With"};
    case tok::Sub: return {u"Sub", u"End Sub"};
    case tok::Function: return {u"Function", u"End Function"};
    default: return {u"语句", u"结束行"};
  }
}

}  // namespace

std::u16string unclosedText(int32_t opener, int32_t line) {
  const BlockWords w = blockWords(opener);
  return resText(ErrUnclosed) + u"：第 " + rt::ascii(std::to_string(line)) + u" 行的 " + w.opens +
         u" 没有对应的 " + w.closes;
}

void requireAllClosed(const BodyGeneral& body, std::u16string_view source) {
  const CompoundBody* open = body.unclosed();
  if (!open) return;
  running.line = open->openingLine();
  rt::raiseWith(errNumber(ErrUnclosed), unclosedText(open->opener(), open->openingLine()),
                std::u16string(source));
}

}  // namespace engine
