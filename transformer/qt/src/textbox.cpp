#include "marloxqt/textbox.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace marloxqt {

namespace {

// Set on a paragraph whose break before it is not in the text.
constexpr int kSoftBreak = QTextFormat::UserProperty + 0x4d;

bool isSoft(const QTextBlock& block) { return block.blockFormat().boolProperty(kSoftBreak); }

QTextBlockFormat withSoft(QTextBlockFormat format, bool soft) {
  if (soft) {
    format.setProperty(kSoftBreak, true);
  } else {
    format.clearProperty(kSoftBreak);
  }
  return format;
}

// The length of the line break at `i` as QTextCursor::insertText reads one
// (CR LF, LF, CR, the paragraph separator and the frame marks), 0 if none.
int breakAt(const QString& text, qsizetype i) {
  const char16_t c = text[i].unicode();
  if (c == u'\r') return i + 1 < text.size() && text[i + 1] == QLatin1Char('\n') ? 2 : 1;
  return c == u'\n' || c == 0x2029 || c == 0xfdd0 || c == 0xfdd1 ? 1 : 0;
}

// Removes the selection of `c`.  Qt joins the paragraphs it spans and, when
// the first is left empty, keeps the format of the last: the paragraph that
// results begins where the first began, so it takes that one's break.
void removeSelection(QTextCursor& c) {
  if (!c.hasSelection()) return;
  const bool soft = isSoft(c.document()->findBlock(c.selectionStart()));
  c.removeSelectedText();
  if (isSoft(c.block()) != soft) c.setBlockFormat(withSoft(c.blockFormat(), soft));
}

// Whether `event` takes the selection away before anything else: a key
// that deletes, whatever its modifiers.
bool deletesSelection(QKeyEvent* event) {
  return event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete ||
         event == QKeySequence::DeleteEndOfLine || event == QKeySequence::DeleteCompleteLine;
}

// Walks `text` as lines cut into pieces of at most kPiece units (never
// between the halves of a surrogate pair): piece(start, length), then
// soft() between two pieces of a line and hard(start, length) for a line
// break.
template <class Piece, class Soft, class Hard>
void walkPieces(const QString& text, Piece piece, Soft soft, Hard hard) {
  qsizetype lineStart = 0;
  auto line = [&](qsizetype end) {
    while (end - lineStart > TextBox::kPiece) {
      qsizetype n = TextBox::kPiece;
      if (text[lineStart + n - 1].isHighSurrogate() && text[lineStart + n].isLowSurrogate()) --n;
      piece(lineStart, n);
      soft();
      lineStart += n;
    }
    if (end > lineStart) piece(lineStart, end - lineStart);
  };
  for (qsizetype i = 0; i < text.size();) {
    const int n = breakAt(text, i);
    if (n == 0) {
      ++i;
      continue;
    }
    line(i);
    hard(i, n);
    i += n;
    lineStart = i;
  }
  line(text.size());
}

}  // namespace

QString TextBox::realText() const { return realText(0, toReal(document()->characterCount() - 1)); }

QString TextBox::realText(int start, int end) const {
  const int shownStart = toShown(start);
  const int shownEnd = toShown(end);
  QTextCursor c(document());
  c.setPosition(shownStart);
  c.setPosition(shownEnd, QTextCursor::KeepAnchor);
  // Raw: toPlainText() would turn no-break spaces into spaces.
  QString raw = c.selectedText();
  // One paragraph separator for each paragraph begun within the range, in
  // order: a real break is a line end, a soft one is left out.
  QString out;
  out.reserve(raw.size());
  QTextBlock block = document()->findBlock(shownStart).next();
  for (QChar ch : raw) {
    if (ch != QChar::ParagraphSeparator) {
      out += ch;
      continue;
    }
    if (!isSoft(block)) out += QLatin1Char('\n');
    block = block.next();
  }
  return out;
}

void TextBox::setRealText(const QString& text) {
  QString shown;
  shown.reserve(text.size() + text.size() / kPiece + 1);
  std::vector<int> softAt;  // where each soft break stands in `shown`
  walkPieces(
      text, [&](qsizetype start, qsizetype n) { shown += QStringView(text).mid(start, n); },
      [&] {
        softAt.push_back(static_cast<int>(shown.size()));
        shown += QLatin1Char('\n');
      },
      [&](qsizetype start, qsizetype n) { shown += QStringView(text).mid(start, n); });
  setPlainText(shown);
  pieces_ = !softAt.empty();
  if (!pieces_) return;
  // Marked outside the undo history, in one change: laid out once.
  QTextDocument* doc = document();
  doc->setUndoRedoEnabled(false);
  QTextCursor c(doc);
  c.beginEditBlock();
  for (int at : softAt) {
    c.setPosition(at + 1);
    c.setBlockFormat(withSoft(c.blockFormat(), true));
  }
  c.endEditBlock();
  doc->setUndoRedoEnabled(true);
  setTextCursor(QTextCursor(doc));
}

int TextBox::toReal(int shown) const {
  if (!pieces_) return shown;
  const QTextBlock at = document()->findBlock(shown);
  int soft = 0;
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
    if (isSoft(b)) ++soft;
    if (b == at) break;
  }
  return shown - soft;
}

int TextBox::toShown(int real) const {
  if (!pieces_) return real;
  int soft = 0;
  QTextBlock last;
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
    if (isSoft(b)) ++soft;
    // The paragraph's text, without its break, holds real positions up to
    // its end.
    if (real <= b.position() + b.length() - 1 - soft) return real + soft;
    last = b;
  }
  return last.isValid() ? last.position() + last.length() - 1 : 0;
}

void TextBox::insertReal(QTextCursor& cursor, const QString& text) {
  cursor.beginEditBlock();
  removeSelection(cursor);
  // A paragraph begun here takes the format of the one it is cut from,
  // but its break is what the text says.
  walkPieces(
      text, [&](qsizetype start, qsizetype n) { cursor.insertText(text.mid(start, n)); },
      [&] {
        pieces_ = true;
        cursor.insertBlock(withSoft(cursor.blockFormat(), true));
      },
      [&](qsizetype, qsizetype) { cursor.insertBlock(withSoft(cursor.blockFormat(), false)); });
  cursor.endEditBlock();
}

void TextBox::keyPressEvent(QKeyEvent* event) {
  if (!pieces_ || isReadOnly()) return QPlainTextEdit::keyPressEvent(event);
  QTextCursor c = textCursor();
  QTextDocument* doc = document();
  auto done = [&] {
    setTextCursor(c);
    ensureCursorVisible();
    event->accept();
  };
  if (event == QKeySequence::InsertParagraphSeparator) {
    insertReal(c, QStringLiteral("\n"));
    return done();
  }
  // Whatever takes the selection away does it here, where the break of the
  // paragraph that remains is kept right.
  if (c.hasSelection()) {
    if (event == QKeySequence::Cut || deletesSelection(event)) {
      if (event == QKeySequence::Cut) copy();
      c.beginEditBlock();
      removeSelection(c);
      c.endEditBlock();
      return done();
    }
    const QString typed = event->text();
    const bool ctrl = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (!ctrl && !typed.isEmpty() && (typed.at(0).isPrint() || typed.at(0) == QLatin1Char('\t'))) {
      insertReal(c, typed);
      return done();
    }
  }
  // Backspace and Delete at a soft break take the character beyond it, as
  // they would in the line as it is.
  const bool backspace = event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier);
  if (backspace && !c.hasSelection() && c.atBlockStart() && isSoft(c.block())) {
    int p = c.position();
    for (QTextBlock b = c.block(); b.isValid() && p == b.position() && isSoft(b); b = doc->findBlock(p)) --p;
    if (p > 0) {
      c.setPosition(p);
      c.deletePreviousChar();
    }
    return done();
  }
  if (event == QKeySequence::Delete && !c.hasSelection() && c.atBlockEnd() && isSoft(c.block().next())) {
    QTextBlock b = c.block().next();
    while (b.isValid() && b.length() == 1 && isSoft(b.next())) b = b.next();
    c.setPosition(b.position());
    if (!c.atEnd()) c.deleteChar();
    return done();
  }
  const int before = c.position();
  QPlainTextEdit::keyPressEvent(event);
  // Both sides of a soft break are one place in the text: a step of one
  // character goes on over it.
  if (event == QKeySequence::MoveToNextChar || event == QKeySequence::MoveToPreviousChar ||
      event == QKeySequence::SelectNextChar || event == QKeySequence::SelectPreviousChar) {
    for (int from = before, to = textCursor().position(); to != from && toReal(to) == toReal(from);
         from = to, to = textCursor().position())
      QPlainTextEdit::keyPressEvent(event);
  }
}

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
  const QString commit = event->commitString();
  bool breaks = false;
  for (qsizetype i = 0; i < commit.size() && !breaks; ++i) breaks = breakAt(commit, i) > 0;
  const bool over = textCursor().hasSelection() && !commit.isEmpty();
  if (!pieces_ || (!breaks && !over)) return QPlainTextEdit::inputMethodEvent(event);
  // A committed text with line breaks, or one that takes the place of the
  // selection, goes in as pasted text would.
  QTextCursor c = textCursor();
  insertReal(c, commit);
  setTextCursor(c);
  QInputMethodEvent rest(event->preeditString(), event->attributes());
  QPlainTextEdit::inputMethodEvent(&rest);
}

void TextBox::insertFromMimeData(const QMimeData* source) {
  if (!pieces_ || !source->hasText()) return QPlainTextEdit::insertFromMimeData(source);
  QTextCursor c = textCursor();
  insertReal(c, source->text());
  setTextCursor(c);
  ensureCursorVisible();
}

// Qt moves text dragged inside the box by removing the selection itself,
// which would lose the break of the paragraph left: while the text is in
// pieces, such a drag drops nothing.
void TextBox::dragEnterEvent(QDragEnterEvent* event) {
  if (pieces_ && event->source() == this) return event->ignore();
  QPlainTextEdit::dragEnterEvent(event);
}

void TextBox::dragMoveEvent(QDragMoveEvent* event) {
  if (pieces_ && event->source() == this) return event->ignore();
  QPlainTextEdit::dragMoveEvent(event);
}

void TextBox::dropEvent(QDropEvent* event) {
  if (pieces_ && event->source() == this) return event->ignore();
  QPlainTextEdit::dropEvent(event);
}

QMimeData* TextBox::createMimeDataFromSelection() const {
  if (!pieces_) return QPlainTextEdit::createMimeDataFromSelection();
  const QTextCursor c = textCursor();
  // As Qt's own copy gives plain text: line separators as line ends,
  // no-break spaces as spaces.
  QString text = realText(toReal(c.selectionStart()), toReal(c.selectionEnd()));
  text.replace(QChar::LineSeparator, QLatin1Char('\n')).replace(QChar::Nbsp, QLatin1Char(' '));
  auto* mime = new QMimeData;
  mime->setText(text);
  return mime;
}

}  // namespace marloxqt
