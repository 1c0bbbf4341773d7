// The translation of page lines into script lines, looked at through a sink
// that records them.
#include "translate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rt/text.h"

namespace {

using Lines = std::vector<std::u16string>;

struct Translated {
  Lines lines;
  bool inBlock;
};

Translated translate(std::u16string_view line, bool inBlock = false) {
  Translated t{{}, inBlock};
  halvorn::translateLine(line, t.inBlock, [&](std::u16string_view s) { t.lines.emplace_back(s); });
  return t;
}

// The script lines of each page line, the block state carried along.
TEST(TranslateLine, WorkedExample) {
  struct Step {
    std::u16string page;
    Lines script;
  };
  const Step steps[] = {
      {u"Hello \"world\"", {u"OutLine \"Hello \" & Chr(34) & \"world\" & Chr(34)"}},
      {u"", {}},
      {u"Total: <!!=n!!> items", {u"OutPut \"Total: \"", u"OutPut n", u"OutLine \" items\""}},
      {u"<!!=a!!>-<!!=b!!>", {u"OutPut a", u"OutPut \"-\"", u"OutPut b", u"OutLine \"\""}},
      {u"<!! x = x + 1 !!>", {u"x = x + 1 ", u"OutLine \"\""}},
      {u"<!!", {}},
      {u"For i = 1 To 3", {u"For i = 1 To 3"}},
      {u"!!>", {u"", u"OutLine \"\""}},
      {u"Row", {u"OutLine \"Row\""}},
      {u"<!! Next !!>", {u"Next ", u"OutLine \"\""}},
      {u"<!--#INCLUDE file=\"head.page\"-->", {u"#Include \"head.page\""}},
      {u"Name: <!! s = 1", {u"OutPut \"Name: \"", u" s = 1"}},
  };
  bool inBlock = false;
  for (const Step& s : steps) {
    Translated t = translate(s.page, inBlock);
    EXPECT_EQ(t.lines, s.script) << rt::toUtf8(s.page);
    inBlock = t.inBlock;
  }
  EXPECT_TRUE(inBlock);  // the last block stays open
}

TEST(QuoteText, Table) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"abc", u"\"abc\""},
      {u"say \"hi\"", u"\"say \" & Chr(34) & \"hi\" & Chr(34)"},
      {u"a\"b", u"\"a\" & Chr(34) & \"b\""},
      {u"\"", u"\"\" & Chr(34)"},
      {u"\"\"", u"\"\" & Chr(34) & \"\" & Chr(34)"},
      {u" \t x ", u"\" \t x \""},  // blanks and tabs kept
  };
  for (const auto& [text, expr] : cases) EXPECT_EQ(halvorn::quoteText(text), expr) << rt::toUtf8(text);
}

TEST(TranslateLine, EdgeCases) {
  struct Case {
    const char* what;
    std::u16string line;
    bool inBlock;
    Lines script;
    bool after;
  };
  const Case cases[] = {
      {"a lone opener", u"<!!", false, {}, true},
      {"code in a block is not searched for an opener", u"x = \"<!!\"", true, {u"x = \"<!!\""}, true},
      {"a closer in text is text", u"a !!> b", false, {u"OutLine \"a !!> b\""}, false},
      {"a closer in a string literal ends the block", u"s = \"x!!>y\"", true,
       {u"s = \"x", u"OutLine \"y\" & Chr(34)"}, false},
      {"an empty block", u"<!!!!>", false, {u"OutLine \"\""}, false},
      {"blanks before =", u"<!!   =x!!>", false, {u"OutPut x", u"OutLine \"\""}, false},
      {"= with nothing after it", u"<!!=!!>", false, {u"OutPut ", u"OutLine \"\""}, false},
      {"trailing blanks of inline code stay", u"<!! y !!>", false, {u"y ", u"OutLine \"\""}, false},
      {"= in a block spread over lines", u"=x", true, {u"=x"}, true},
      {"an indented include line is text", u" <!--#INCLUDE file=\"a\"-->", false,
       {u"OutLine \" <!--#INCLUDE file=\" & Chr(34) & \"a\" & Chr(34) & \"-->\""}, false},
      {"an include line in lower case", u"<!--#include file=\"a.page\"-->", false,
       {u"#Include \"a.page\""}, false},
      {"an unquoted include name", u"<!--#INCLUDE file=a.page -->", false, {u"#Include \"\""}, false},
      {"an include line without =", u"<!--#INCLUDE \"a.page\"-->", false, {u"#Include \"\""}, false},
      {"an include line with an opener is text with a block", u"<!--#INCLUDE <!!x!!>", false,
       {u"OutPut \"<!--#INCLUDE \"", u"x", u"OutLine \"\""}, false},
      {"markers in any case and width", u"a<！！=v！！>b", false,
       {u"OutPut \"a\"", u"OutPut v", u"OutLine \"b\""}, false},
      {"an include after a block", u"<!!x!!><!--#INCLUDE file=\"i\"-->", false,
       {u"x", u"#Include \"i\""}, false},
      {"a block opened after text and code", u"t<!!a!!>u<!!b", false,
       {u"OutPut \"t\"", u"a", u"OutPut \"u\"", u"b"}, true},
      {"a closer alone", u"!!>", true, {u"", u"OutLine \"\""}, false},
  };
  for (const Case& c : cases) {
    Translated t = translate(c.line, c.inBlock);
    EXPECT_EQ(t.lines, c.script) << c.what;
    EXPECT_EQ(t.inBlock, c.after) << c.what;
  }
}

TEST(IncludeDirective, TakesTheQuotedNameAfterTheEquals) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"file=\"head.page\"-->", u"#Include \"head.page\""},
      {u"virtual = \"a b.page\" -->", u"#Include \"a b.page\""},
      {u"file=\"unclosed", u"#Include \"unclosed\""},
      {u"file=", u"#Include \"\""},
      {u"", u"#Include \"\""},
  };
  for (const auto& [rest, directive] : cases)
    EXPECT_EQ(halvorn::includeDirective(rest), directive) << rt::toUtf8(rest);
}

// The rest of a line is handled in a loop: a million blocks need no deeper
// stack, and the line costs time in proportion to its length.
TEST(TranslateLine, AMillionBlocksOnOneLine) {
  std::u16string line;
  for (int i = 0; i < 1000000; ++i) line += u"<!!!!>";
  Translated t = translate(line);
  EXPECT_EQ(t.lines, Lines{u"OutLine \"\""});
  EXPECT_FALSE(t.inBlock);

  line.clear();
  for (int i = 0; i < 200000; ++i) line += u"<!!=i!!>.";
  t = translate(line);
  ASSERT_EQ(t.lines.size(), 400000u);
  EXPECT_EQ(t.lines[0], u"OutPut i");
  EXPECT_EQ(t.lines[1], u"OutPut \".\"");
  EXPECT_EQ(t.lines.back(), u"OutLine \".\"");
}

}  // namespace
