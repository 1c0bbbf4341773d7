// The editor shows a very long line in pieces: the text it gives back, the
// positions it reports and every edit stay those of the real text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>

#include "marloxqt/qtports.h"
#include "marloxqt/text.h"
#include "marloxqt/textbox.h"

namespace {

using marloxqt::qs;
using marloxqt::TextBox;
using marloxqt::us;
constexpr int kPiece = TextBox::kPiece;

std::u16string run(char16_t c, int n) { return std::u16string(static_cast<size_t>(n), c); }

// Positions mapped by walking every paragraph from the start, as the text
// box's index must map them whatever changed the text.
int walkedReal(const TextBox& box, int shown) {
  const QTextBlock at = box.document()->findBlock(shown);
  int soft = 0;
  for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
    soft += TextBox::isSoft(b);
    if (b == at) break;
  }
  return shown - soft;
}

int walkedShown(const TextBox& box, int real) {
  int soft = 0;
  for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
    soft += TextBox::isSoft(b);
    if (real <= b.position() + b.length() - 1 - soft) return real + soft;
  }
  return box.document()->characterCount() - 1;
}

// At both ends of every paragraph and beside them; and the window shows
// the lines of the text: no piece is empty, for an empty one would show a
// line that is not there.
void expectMappedAsWalked(const TextBox& box) {
  const int end = walkedReal(box, box.document()->characterCount() - 1);
  for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
    if (TextBox::isSoft(b)) {
      ASSERT_GT(b.length(), 1) << "an empty piece at paragraph " << b.blockNumber();
      ASSERT_GT(b.previous().length(), 1) << "an empty piece before paragraph " << b.blockNumber();
    }
    for (int shown : {b.position(), b.position() + b.length() - 1}) {
      ASSERT_EQ(box.toReal(shown), walkedReal(box, shown)) << shown;
      const int real = walkedReal(box, shown);
      for (int r = std::max(real - 1, 0); r <= std::min(real + 1, end); ++r)
        ASSERT_EQ(box.toShown(r), walkedShown(box, r)) << r;
    }
  }
}

// Makes `edit` in `box` and checks the text it leaves, then after one undo
// and one redo: the edit is one step, and what is shown agrees with the
// text throughout.
void expectEdit(TextBox& box, const std::function<void(TextBox&)>& edit, const std::u16string& want) {
  const std::u16string before = us(box.realText());
  edit(box);
  // Compared whole, not printed: the texts are long.
  EXPECT_TRUE(us(box.realText()) == want) << us(box.realText()).size();
  expectMappedAsWalked(box);
  box.undo();
  EXPECT_TRUE(us(box.realText()) == before) << us(box.realText()).size();
  expectMappedAsWalked(box);
  box.redo();
  EXPECT_TRUE(us(box.realText()) == want) << us(box.realText()).size();
  expectMappedAsWalked(box);
}

TEST(TextBox, GivesBackTheTextItWasGiven) {
  const std::u16string smile = u"\U0001F600";
  const std::u16string odd(u"a\u00a0b\u2028c\td\0e", 9);
  const std::vector<std::u16string> texts = {
      run(u'x', kPiece),
      run(u'x', kPiece + 1),
      run(u'y', 3 * kPiece + 5) + odd + run(u'z', kPiece),
      // A surrogate pair where a piece would end.
      run(u'x', kPiece - 1) + smile + run(u'x', kPiece),
      u"\n" + run(u'a', 2 * kPiece) + u"\n\nshort\n" + run(u'b', kPiece + 7) + u"\n",
  };
  TextBox box;
  for (const std::u16string& text : texts) {
    SCOPED_TRACE(text.size());
    box.setRealText(qs(text));
    EXPECT_EQ(us(box.realText()), text);
    EXPECT_EQ(box.toReal(box.document()->characterCount() - 1), static_cast<int>(text.size()));
    for (int r : {0, 1, kPiece - 1, kPiece, kPiece + 1, 2 * kPiece, static_cast<int>(text.size())}) {
      if (r > static_cast<int>(text.size())) continue;
      EXPECT_EQ(box.toReal(box.toShown(r)), r) << r;
    }
    for (int r : {0, kPiece - 3, 2 * kPiece - 1}) {
      if (r + 6 > static_cast<int>(text.size())) continue;
      EXPECT_EQ(us(box.realText(r, r + 6)), text.substr(r, 6)) << r;
    }
    for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
      EXPECT_LE(b.length() - 1, kPiece);
      EXPECT_FALSE(b.text().endsWith(QChar(smile[0])));  // a pair is never cut
    }
  }
}

// The caret steps over a soft break as over no character.
TEST(TextBox, ArrowsStepOverSoftBreaks) {
  TextBox box;
  marloxqt::QtEditor port(&box);
  port.setText(run(u'x', 2 * kPiece) + u"yz");
  port.select(kPiece, 0);
  QTest::keyClick(&box, Qt::Key_Right);
  EXPECT_EQ(port.selStart(), kPiece + 1);
  QTest::keyClick(&box, Qt::Key_Left);
  QTest::keyClick(&box, Qt::Key_Left);
  EXPECT_EQ(port.selStart(), kPiece - 1);
  QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(port.selStart(), kPiece - 1);
  EXPECT_EQ(port.selLength(), 2);
}

// Each edit is made on the editor and on a copy of the text: they must
// agree after every step, after undoing them all and after redoing them.
TEST(TextBox, EditsChangeTheRealText) {
  const std::u16string start = run(u'a', kPiece) + run(u'b', kPiece) + run(u'c', kPiece) + u"\nend";
  TextBox box;
  box.show();
  marloxqt::QtEditor port(&box);
  port.setText(start);
  ASSERT_EQ(box.document()->blockCount(), 4);
  std::u16string model = start;
  // The first shown position of the second piece, after its soft break.
  auto atSecondPiece = [&] { box.setTextCursor(QTextCursor(box.document()->findBlockByNumber(1))); };
  struct Edit {
    const char* what;
    std::function<void()> onBox;
    std::function<void()> onModel;
  };
  const Edit edits[] = {
      {"type at the end of a piece", [&] { port.select(kPiece, 0); QTest::keyClicks(&box, "XY"); },
       [&] { model.insert(kPiece, u"XY"); }},
      {"backspace after a soft break", [&] { atSecondPiece(); QTest::keyClick(&box, Qt::Key_Backspace); },
       [&] { model.erase(kPiece + 1, 1); }},
      {"delete before a soft break", [&] { port.select(kPiece + 1, 0); QTest::keyClick(&box, Qt::Key_Delete); },
       [&] { model.erase(kPiece + 1, 1); }},
      {"enter in a piece", [&] { port.select(kPiece + 10, 0); QTest::keyClick(&box, Qt::Key_Return); },
       [&] { model.insert(kPiece + 10, u"\n"); }},
      {"enter after a soft break", [&] { atSecondPiece(); QTest::keyClick(&box, Qt::Key_Return); },
       [&] { model.insert(kPiece + 1, u"\n"); }},
      {"script replaces across a soft break", [&] { port.select(2 * kPiece - 2, 5); port.replaceSelection(u"p\nq\r\nr"); },
       [&] { model.replace(2 * kPiece - 2, 5, u"p\nq\nr"); }},
      {"delete a selection over soft breaks", [&] { port.select(100, 2 * kPiece); QTest::keyClick(&box, Qt::Key_Delete); },
       [&] { model.erase(100, 2 * kPiece); }},
      {"append", [&] { port.insertAtEnd(u"\ntail"); }, [&] { model += u"\ntail"; }},
      {"paste a long line", [&] {
         QApplication::clipboard()->setText(qs(u"[" + run(u'p', 2 * kPiece) + u"]\n"));
         port.select(5, 0);
         QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
       },
       [&] { model.insert(5, u"[" + run(u'p', 2 * kPiece) + u"]\n"); }},
      {"an input method commits lines", [&] {
         port.select(kPiece + 10, 0);
         QInputMethodEvent commit(QString(), {});
         commit.setCommitString(QStringLiteral("i\nj"));
         QApplication::sendEvent(&box, &commit);
       },
       [&] { model.insert(kPiece + 10, u"i\nj"); }},
  };
  std::vector<std::u16string> after;
  for (const Edit& e : edits) {
    SCOPED_TRACE(e.what);
    e.onBox();
    e.onModel();
    ASSERT_EQ(us(box.realText()), model);
    expectMappedAsWalked(box);
    after.push_back(model);
  }
  // The selection the scripts see, and a copy that goes to the clipboard.
  port.select(kPiece - 4, kPiece + 8);
  EXPECT_EQ(port.selStart(), kPiece - 4);
  EXPECT_EQ(port.selLength(), kPiece + 8);
  EXPECT_EQ(port.selectedText(), model.substr(kPiece - 4, kPiece + 8));
  QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(us(QApplication::clipboard()->text()), model.substr(kPiece - 4, kPiece + 8));

  // Every state undo and redo pass through is one the text was in.
  auto known = [&](const std::u16string& t) { return t == start || std::find(after.begin(), after.end(), t) != after.end(); };
  while (box.document()->isUndoAvailable()) {
    box.undo();
    ASSERT_TRUE(known(us(box.realText())));
    expectMappedAsWalked(box);
  }
  EXPECT_EQ(us(box.realText()), start);
  while (box.document()->isRedoAvailable()) {
    box.redo();
    ASSERT_TRUE(known(us(box.realText())));
    expectMappedAsWalked(box);
  }
  EXPECT_EQ(us(box.realText()), model);
}

// A selection that begins where a line or a piece begins and runs over soft
// (and real) breaks: whatever takes its place, the paragraph left keeps the
// break it began with, and undo and redo pass through the same texts.
TEST(TextBox, SelectionsBeginningAtABreakKeepIt) {
  const std::u16string text = u"head\n" + run(u'm', 9000) + u"\n" + run(u'n', 3 * kPiece) + u"\ntail";
  const int mLine = 5, nLine = 5 + 9000 + 1, tail = nLine + 3 * kPiece + 1;
  struct Case {
    const char* what;
    int start, length;  // the selection, in the real text
    std::function<void(TextBox&)> edit;
    std::u16string put;  // what takes its place
  };
  auto keys = [](const char* k) { return [k](TextBox& b) { QTest::keyClicks(&b, k); }; };
  auto key = [](Qt::Key k, Qt::KeyboardModifiers m = {}) { return [k, m](TextBox& b) { QTest::keyClick(&b, k, m); }; };
  auto menuItem = [](const char* name) {
    return [name](TextBox& b) {
      std::unique_ptr<QMenu> menu(b.contextMenu(QPoint()));
      menu->findChild<QAction*>(QLatin1String(name))->trigger();
    };
  };
  const Case cases[] = {
      {"type from a line start", mLine, 8200, keys("Z"), u"Z"},
      {"type from the start", 0, 8200, keys("Z"), u"Z"},
      {"backspace from a line start", mLine, 8200, key(Qt::Key_Backspace), u""},
      {"delete from a line start over a real break", mLine, 9500, key(Qt::Key_Delete), u""},
      {"cut from a line start", mLine, 8200, key(Qt::Key_X, Qt::ControlModifier), u""},
      {"the box's own cut from a line start", mLine, 8200, menuItem("edit-cut"), u""},
      {"the box's own delete from a line start", mLine, 8200, menuItem("edit-delete"), u""},
      {"a script from a line start", mLine, 8200,
       [&](TextBox& b) { marloxqt::QtEditor(&b).replaceSelection(u"S"); }, u"S"},
      {"an input method from a line start", mLine, 8200,
       [](TextBox& b) {
         QInputMethodEvent commit(QString(), {});
         commit.setCommitString(QStringLiteral("I"));
         QApplication::sendEvent(&b, &commit);
       },
       u"I"},
      {"type from a piece start over a real break", nLine + kPiece, tail + 2 - (nLine + kPiece), keys("Z"), u"Z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextBox box;
    box.show();
    box.setRealText(qs(text));
    // Selected from its start as a click there does: at the start of the
    // paragraph, after a soft break.
    QTextCursor sel(box.document());
    sel.setPosition(box.document()->findBlock(box.toShown(c.start) + 1).position());
    ASSERT_EQ(box.toReal(sel.position()), c.start);
    sel.setPosition(box.toShown(c.start + c.length), QTextCursor::KeepAnchor);
    box.setTextCursor(sel);
    expectEdit(box, c.edit, std::u16string(text).replace(c.start, c.length, c.put));
  }
}

// An edit that leaves a piece of a line empty joins it to its neighbour:
// the window shows no line the text does not have, and one undo brings
// the piece back.
TEST(TextBox, NoEditLeavesAnEmptyPiece) {
  // Two pieces, the second of one character, and a short line.
  const std::u16string text = run(u'x', kPiece) + u"y\nend";
  const int y = kPiece;
  struct Case {
    const char* what;
    int at;      // where the caret stands, in the real text
    bool after;  // on the far side of the soft break there
    int length;  // of the selection, from the caret
    std::function<void(TextBox&)> edit;
    std::u16string want;
  };
  auto key = [](Qt::Key k, Qt::KeyboardModifiers m = {}) { return [k, m](TextBox& b) { QTest::keyClick(&b, k, m); }; };
  auto script = [](std::u16string put) { return [put](TextBox& b) { marloxqt::QtEditor(&b).replaceSelection(put); }; };
  auto with = [&](int at, int n, std::u16string put) { return std::u16string(text).replace(at, n, put); };
  const Case cases[] = {
      {"enter before a soft break", y, false, 0, key(Qt::Key_Return), with(y, 0, u"\n")},
      {"enter after a soft break", y, true, 0, key(Qt::Key_Return), with(y, 0, u"\n")},
      {"a script puts a line end before a soft break", y, false, 0, script(u"a\n"), with(y, 0, u"a\n")},
      {"a script puts a line start after a soft break", y, true, 0, script(u"\nb"), with(y, 0, u"\nb")},
      {"backspace takes a piece's only character", y + 1, false, 0, key(Qt::Key_Backspace), with(y, 1, u"")},
      {"delete takes a piece's only character", y, true, 0, key(Qt::Key_Delete), with(y, 1, u"")},
      {"delete before a soft break takes it too", y, false, 0, key(Qt::Key_Delete), with(y, 1, u"")},
      {"a piece replaced by a line end", y, true, 1, key(Qt::Key_Return), with(y, 1, u"\n")},
      {"a word taken from a piece", y + 1, false, 0, key(Qt::Key_Backspace, Qt::ControlModifier), with(y, 1, u"")},
      {"a whole first piece cut", 0, false, kPiece, key(Qt::Key_X, Qt::ControlModifier), with(0, kPiece, u"")},
      {"a whole first piece typed over", 0, false, kPiece, [](TextBox& b) { QTest::keyClicks(&b, "Z"); },
       with(0, kPiece, u"Z")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextBox box;
    box.show();
    box.setRealText(qs(text));
    QTextCursor sel(box.document());
    sel.setPosition(box.toShown(c.at) + (c.after ? 1 : 0));
    if (c.length > 0) sel.setPosition(box.toShown(c.at + c.length), QTextCursor::KeepAnchor);
    box.setTextCursor(sel);
    expectEdit(box, c.edit, c.want);
  }
}

// Every key that shows a new line puts a real break into the text, in a
// short text and on either side of a soft break; one undo takes it out.
TEST(TextBox, KeysThatBreakALineBreakItInTheText) {
  struct Way {
    Qt::Key key;  // Qt::Key_unknown: an input method commits the text
    Qt::KeyboardModifiers modifiers;
    QString text;
    std::u16string put;
  };
  const Way ways[] = {
      {Qt::Key_Return, Qt::ShiftModifier, QStringLiteral("\r"), u"\n"},
      {Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier, QStringLiteral("\r"), u"\n"},
      {Qt::Key_Space, Qt::NoModifier, QStringLiteral("x\u2028y"), u"x\ny"},  // a layout's key
      {Qt::Key_unknown, Qt::NoModifier, QStringLiteral("i\u2028j"), u"i\nj"},
  };
  const std::u16string longText = u"ab\n" + run(u'x', 2 * kPiece + 3);
  // The text, where the caret stands in it, and whether after a soft break.
  const std::tuple<std::u16string, int, bool> places[] = {
      {u"ab\ncd", 4, false}, {longText, 3 + kPiece, false}, {longText, 3 + kPiece, true}};
  for (const Way& w : ways) {
    for (const auto& [text, at, afterSoftBreak] : places) {
      SCOPED_TRACE(w.text.toStdString() + " at " + std::to_string(at) + (afterSoftBreak ? " after" : ""));
      TextBox box;
      box.show();
      box.setRealText(qs(text));
      QTextCursor caret(box.document());
      caret.setPosition(box.toShown(at) + (afterSoftBreak ? 1 : 0));
      ASSERT_EQ(box.toReal(caret.position()), at);
      box.setTextCursor(caret);
      if (w.key == Qt::Key_unknown) {
        QInputMethodEvent commit(QString(), {});
        commit.setCommitString(w.text);
        QApplication::sendEvent(&box, &commit);
      } else {
        QKeyEvent press(QEvent::KeyPress, w.key, w.modifiers, w.text);
        QApplication::sendEvent(&box, &press);
      }
      std::u16string want = text;
      EXPECT_EQ(us(box.realText()), want.insert(at, w.put));
      EXPECT_EQ(box.toReal(box.textCursor().position()), at + static_cast<int>(w.put.size()));
      expectMappedAsWalked(box);
      box.undo();
      EXPECT_EQ(us(box.realText()), text);
      expectMappedAsWalked(box);
    }
  }
}

}  // namespace
