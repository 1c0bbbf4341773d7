#include "core/blockdepth.h"

#include <string>

#include "core/tokencode.h"
#include "rt/error.h"
#include "rt/text.h"

namespace engine {

void requireBlockDepth(int32_t depth) {
  if (depth <= kMaxBlockDepth) return;
  rt::raiseWith(rt::err::OutOfStackSpace,
                rt::errorText(rt::err::OutOfStackSpace) + u"：语句块嵌套超过 " +
                    rt::ascii(std::to_string(kMaxBlockDepth)) + u" 层",
                u"NewBody");
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

std::u16string missingCloser(int32_t opener, int32_t line) {
  const BlockWords w = blockWords(opener);
  return u"第 " + rt::ascii(std::to_string(line)) + u" 行的 " + w.opens + u" 没有对应的 " +
         w.closes;
}

}  // namespace engine
