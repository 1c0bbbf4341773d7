#include "translate.h"

#include <algorithm>
#include <string>

#include "rt/error.h"
#include "rt/strings.h"
#include "rt/text.h"

namespace halvorn {

namespace {

constexpr std::u16string_view kOpen = u"<!!";
constexpr std::u16string_view kClose = u"!!>";
constexpr std::u16string_view kInclude = u"<!--#INCLUDE ";
constexpr std::u16string_view kEndLine = u"OutLine \"\"";

constexpr size_t npos = std::u16string_view::npos;

// Each double quote of a text becomes more than one node of the expression
// the engine builds of the text, and an expression holds 1024 nodes at
// most: the engine's compiler refuses a text of more than 256.  One
// of more than 1024 is refused here already, before its expression takes
// memory hundreds of times its length.
constexpr size_t kMostQuotes = 1024;

bool isIncludeLine(std::u16string_view line) {
  return line.size() >= kInclude.size() && rt::equalsNoCase(line.substr(0, kInclude.size()), kInclude);
}

// A text line outside a block: an include, or text to output.
void translateText(std::u16string_view line, const LineSink& sink) {
  if (line.empty()) return;  // an empty text line outputs nothing
  if (isIncludeLine(line)) sink(includeDirective(line.substr(kInclude.size())));
  else sink(u"OutLine " + quoteText(line));
}

}  // namespace

// What follows a block on its line is translated as a line of its own; a
// loop does that, so a line of any number of blocks needs no deeper stack.
void translateLine(std::u16string_view line, bool& inBlock, const LineSink& sink) {
  std::u16string_view rest = line;
  for (;;) {
    size_t close;
    if (inBlock) {
      close = rt::findNoCase(rest, kClose);
      if (close == npos) {
        sink(rest);
        return;
      }
      sink(rest.substr(0, close));
    } else {
      size_t open = rt::findNoCase(rest, kOpen);
      if (open == npos) {
        translateText(rest, sink);
        return;
      }
      if (open > 0) sink(u"OutPut " + quoteText(rest.substr(0, open)));
      inBlock = true;
      rest.remove_prefix(open + kOpen.size());
      if (rest.empty()) return;  // the block goes on on the next line
      close = rt::findNoCase(rest, kClose);
      if (close == npos) {
        sink(rest);  // code, up to the end of the line
        return;
      }
      addInlineCode(rest.substr(0, close), sink);
    }
    // A block closed: the line's output ends here unless more follows.
    inBlock = false;
    rest.remove_prefix(close + kClose.size());
    if (rest.empty()) {
      sink(kEndLine);
      return;
    }
  }
}

void addInlineCode(std::u16string_view code, const LineSink& sink) {
  if (code.empty()) return;
  size_t first = code.find_first_not_of(u' ');
  code.remove_prefix(first == npos ? code.size() : first);
  if (!code.empty() && code.front() == u'=') sink(u"OutPut " + std::u16string(code.substr(1)));
  else sink(code);
}

std::u16string quoteText(std::u16string_view text) {
  if (static_cast<size_t>(std::count(text.begin(), text.end(), u'"')) > kMostQuotes)
    rt::raiseWith(rt::err::ExpressionTooComplex,
                  rt::errorText(rt::err::ExpressionTooComplex) + u"：一行文本中的双引号超过 " +
                      rt::ascii(std::to_string(kMostQuotes)) + u" 个",
                  u"QuoteText");
  std::u16string out;
  size_t from = 0;
  for (;;) {
    size_t quote = text.find(u'"', from);
    std::u16string_view piece = text.substr(from, quote == npos ? npos : quote - from);
    if (quote == npos && piece.empty()) break;
    if (!out.empty()) out += u" & ";
    out += u'"';
    out += piece;
    out += u'"';
    if (quote == npos) break;
    out += u" & Chr(34)";
    from = quote + 1;
  }
  return out;
}

std::u16string includeDirective(std::u16string_view rest) {
  rt::splitHead(rest, u"=");
  rt::splitHead(rest, u"\"");
  std::u16string_view name = rt::splitHead(rest, u"\"");
  return u"#Include \"" + std::u16string(name) + u"\"";
}

}  // namespace halvorn
