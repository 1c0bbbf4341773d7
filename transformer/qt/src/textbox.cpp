#include "marloxqt/textbox.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <utility>

namespace marloxqt {

namespace {

// Set on a paragraph whose break before it is not in the text.
constexpr int kSoftBreak = QTextFormat::UserProperty + 0x4d;

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
  const bool soft = TextBox::isSoft(c.document()->findBlock(c.selectionStart()));
  c.removeSelectedText();
  if (TextBox::isSoft(c.block()) != soft) c.setBlockFormat(withSoft(c.blockFormat(), soft));
}

// Whether the soft break after `block` has an empty paragraph on either
// side: the window would show a line there that the text does not have.
bool emptyBesideSoftBreak(const QTextBlock& block) {
  const QTextBlock next = block.next();
  return next.isValid() && TextBox::isSoft(next) && (block.length() == 1 || next.length() == 1);
}

bool anyEmptyBesideSoftBreak(const QTextDocument* doc, int first, int last) {
  QTextBlock b = doc->findBlockByNumber(std::max(first, 0));
  for (int n = std::max(first, 0); n <= last && b.isValid(); ++n, b = b.next())
    if (emptyBesideSoftBreak(b)) return true;
  return false;
}

// Joins each paragraph from number `first` to `last` with the one after it
// where emptyBesideSoftBreak says so, keeping the break of the first: the
// two are one line of the text, and an empty piece of a line is no piece.
// Cursors on the break taken out stay where they were in the text.
void joinEmptyPieces(QTextDocument* doc, int first, int last) {
  first = std::max(first, 0);
  QTextCursor c(doc);
  QTextBlock b = doc->findBlockByNumber(first);
  for (int n = first; n <= last && b.isValid();) {
    if (!emptyBesideSoftBreak(b)) {
      b = b.next();
      ++n;
      continue;
    }
    const bool soft = TextBox::isSoft(b);
    c.setPosition(b.position() + b.length() - 1);
    c.deleteChar();
    if (TextBox::isSoft(c.block()) != soft) c.setBlockFormat(withSoft(c.blockFormat(), soft));
    b = c.block();
    --last;
  }
}

// Makes `edit` of `c` one step of the undo history, with the joins of the
// empty pieces it leaves.
template <class Edit>
void editJoiningEmptyPieces(QTextCursor& c, Edit edit) {
  c.beginEditBlock();
  edit();
  joinEmptyPieces(c.document(), c.blockNumber() - 1, c.blockNumber() + 1);
  c.endEditBlock();
}

// After an edit Qt made itself at `caret` (a key, an input method): joins
// the empty pieces it left, within its step of the undo history.
void joinEmptyPiecesAfterQt(const QTextCursor& caret) {
  const int at = caret.blockNumber();
  if (!anyEmptyBesideSoftBreak(caret.document(), at - 1, at + 1)) return;
  QTextCursor c = caret;
  c.joinPreviousEditBlock();
  joinEmptyPieces(c.document(), at - 1, at + 1);
  c.endEditBlock();
}

// What a key that breaks the line puts in: a real break for Enter and for
// Shift+Enter (for which Qt would put in a line separator, shown as a break
// but none in the text), and the typed text with a real break for each line
// separator; empty for any other key.
QString lineBreakTyped(QKeyEvent* event) {
  if (event == QKeySequence::InsertParagraphSeparator || event == QKeySequence::InsertLineSeparator)
    return QStringLiteral("\n");
  QString typed = event->text();
  const bool ctrl = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  if (ctrl || !typed.contains(QChar::LineSeparator)) return QString();
  return typed.replace(QChar::LineSeparator, QLatin1Char('\n'));
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

bool TextBox::isSoft(const QTextBlock& block) { return block.blockFormat().boolProperty(kSoftBreak); }

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
  blocks_ = document()->blockCount();
  connect(document(), &QTextDocument::contentsChange, this, [this](int from, int, int added) { noteChange(from, added); });
}

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

QString TextBox::selectedRealText() const {
  const QTextCursor c = textCursor();
  return realText(toReal(c.selectionStart()), toReal(c.selectionEnd()));
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
  if (softAt.empty()) return;
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

// The paragraphs before the change keep their numbers and marks, those
// after it their marks: only the paragraphs the change touched are looked
// at, and the numbers after them move by the paragraphs it made or took.
void TextBox::noteChange(int from, int added) {
  const QTextDocument* doc = document();
  const int count = doc->blockCount();
  const int made = count - std::exchange(blocks_, count);
  const int end = doc->characterCount() - 1;
  const int first = doc->findBlock(std::clamp(from, 0, end)).blockNumber();
  const int last = doc->findBlock(std::clamp(from + added, 0, end)).blockNumber();
  // The marks of the paragraphs the change touched, as they were...
  auto lo = std::lower_bound(soft_.begin(), soft_.end(), first);
  auto hi = std::upper_bound(lo, soft_.end(), last - made);
  for (auto it = hi; it != soft_.end(); ++it) *it += made;
  // ...and as they are.
  std::vector<int> now;
  QTextBlock b = doc->findBlockByNumber(first);
  for (int n = first; n <= last && b.isValid(); ++n, b = b.next())
    if (isSoft(b)) now.push_back(n);
  soft_.insert(soft_.erase(lo, hi), now.begin(), now.end());
}

int TextBox::toReal(int shown) const {
  if (!pieces()) return shown;
  // A position past the end is after every soft break.
  const QTextBlock at = document()->findBlock(shown);
  const int block = at.isValid() ? at.blockNumber() : document()->blockCount();
  return shown - static_cast<int>(std::upper_bound(soft_.begin(), soft_.end(), block) - soft_.begin());
}

int TextBox::toShown(int real) const {
  if (!pieces()) return real;
  // The soft breaks before `real`: those whose paragraph begins before it
  // in the real text (a real position at a soft break is the end of the
  // piece before it).  The k-th soft paragraph begins k breaks before
  // where it is shown.
  const QTextDocument* doc = document();
  size_t lo = 0, hi = soft_.size();
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (doc->findBlockByNumber(soft_[mid]).position() - static_cast<int>(mid + 1) < real) lo = mid + 1;
    else hi = mid;
  }
  return std::min(real + static_cast<int>(lo), doc->characterCount() - 1);
}

void TextBox::insertReal(QTextCursor& cursor, const QString& text) {
  cursor.beginEditBlock();
  removeSelection(cursor);
  const int first = cursor.blockNumber();
  // A paragraph begun here takes the format of the one it is cut from,
  // but its break is what the text says.
  walkPieces(
      text, [&](qsizetype start, qsizetype n) { cursor.insertText(text.mid(start, n)); },
      [&] { cursor.insertBlock(withSoft(cursor.blockFormat(), true)); },
      [&](qsizetype, qsizetype) { cursor.insertBlock(withSoft(cursor.blockFormat(), false)); });
  joinEmptyPieces(document(), first - 1, cursor.blockNumber() + 1);
  cursor.endEditBlock();
}

void TextBox::takeSelection(bool cut) {
  if (cut) copy();
  QTextCursor c = textCursor();
  editJoiningEmptyPieces(c, [&] { removeSelection(c); });
  setTextCursor(c);
  ensureCursorVisible();
}

void TextBox::keyPressEvent(QKeyEvent* event) {
  if (isReadOnly()) return QPlainTextEdit::keyPressEvent(event);
  QTextCursor c = textCursor();
  QTextDocument* doc = document();
  auto done = [&] {
    setTextCursor(c);
    ensureCursorVisible();
    event->accept();
  };
  if (const QString typed = lineBreakTyped(event); !typed.isEmpty()) {
    insertReal(c, typed);
    return done();
  }
  if (!pieces()) return QPlainTextEdit::keyPressEvent(event);
  // Whatever takes the selection away does it here, where the break of the
  // paragraph that remains is kept right.
  if (c.hasSelection()) {
    if (event == QKeySequence::Cut || deletesSelection(event)) {
      takeSelection(event == QKeySequence::Cut);
      return event->accept();
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
      editJoiningEmptyPieces(c, [&] { c.deletePreviousChar(); });
    }
    return done();
  }
  if (event == QKeySequence::Delete && !c.hasSelection() && c.atBlockEnd() && isSoft(c.block().next())) {
    QTextBlock b = c.block().next();
    while (b.isValid() && b.length() == 1 && isSoft(b.next())) b = b.next();
    c.setPosition(b.position());
    if (!c.atEnd()) editJoiningEmptyPieces(c, [&] { c.deleteChar(); });
    return done();
  }
  // Qt's own Backspace and Delete are steps the undo history merges, to
  // which the join of a piece they leave empty could not be added: in a
  // piece that short they are made here.
  const bool del = event == QKeySequence::Delete;
  const QTextBlock block = c.block();
  if ((backspace || del) && !c.hasSelection() && block.length() <= 3 &&
      (isSoft(block) || isSoft(block.next()))) {
    editJoiningEmptyPieces(c, [&] { del ? c.deleteChar() : c.deletePreviousChar(); });
    return done();
  }
  const int before = c.position();
  const int revision = doc->revision();
  QPlainTextEdit::keyPressEvent(event);
  if (doc->revision() != revision && event != QKeySequence::Undo && event != QKeySequence::Redo)
    joinEmptyPiecesAfterQt(textCursor());
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
  QString commit = event->commitString();
  if (commit.contains(QChar::LineSeparator)) {
    // A line separator committed breaks the line, as a key typing one.
    QInputMethodEvent own(event->preeditString(), event->attributes());
    own.setCommitString(commit.replace(QChar::LineSeparator, QLatin1Char('\n')), event->replacementStart(),
                        event->replacementLength());
    inputMethodEvent(&own);
    return event->setAccepted(own.isAccepted());
  }
  bool breaks = false;
  for (qsizetype i = 0; i < commit.size() && !breaks; ++i) breaks = breakAt(commit, i) > 0;
  const bool over = textCursor().hasSelection() && !commit.isEmpty();
  if (!pieces()) return QPlainTextEdit::inputMethodEvent(event);
  if (!breaks && !over) {
    QPlainTextEdit::inputMethodEvent(event);
    return joinEmptyPiecesAfterQt(textCursor());
  }
  // A committed text with line breaks, or one that takes the place of the
  // selection, goes in as pasted text would.
  QTextCursor c = textCursor();
  insertReal(c, commit);
  setTextCursor(c);
  QInputMethodEvent rest(event->preeditString(), event->attributes());
  QPlainTextEdit::inputMethodEvent(&rest);
}

void TextBox::insertFromMimeData(const QMimeData* source) {
  if (!pieces() || !source->hasText()) return QPlainTextEdit::insertFromMimeData(source);
  QTextCursor c = textCursor();
  insertReal(c, source->text());
  setTextCursor(c);
  ensureCursorVisible();
}

// Qt moves text dragged inside the box by removing the selection itself,
// which would lose the break of the paragraph left: while the text is in
// pieces, such a drag drops nothing.
void TextBox::dragEnterEvent(QDragEnterEvent* event) {
  if (pieces() && event->source() == this) return event->ignore();
  QPlainTextEdit::dragEnterEvent(event);
}

void TextBox::dragMoveEvent(QDragMoveEvent* event) {
  if (pieces() && event->source() == this) return event->ignore();
  QPlainTextEdit::dragMoveEvent(event);
}

void TextBox::dropEvent(QDropEvent* event) {
  if (pieces() && event->source() == this) return event->ignore();
  QPlainTextEdit::dropEvent(event);
}

// Every copy gives the text as the edit commands copy it, as it would be
// saved: a line separator or a no-break space stays what it is.
QMimeData* TextBox::createMimeDataFromSelection() const {
  auto* mime = new QMimeData;
  mime->setText(selectedRealText());
  return mime;
}

QMenu* TextBox::contextMenu(QPoint at) {
  QMenu* menu = createStandardContextMenu(at);
  for (const bool cut : {true, false}) {
    // Qt's own items would take the selection away themselves.
    QAction* item = menu->findChild<QAction*>(cut ? QStringLiteral("edit-cut") : QStringLiteral("edit-delete"));
    if (!item) continue;
    item->disconnect(SIGNAL(triggered(bool)));
    connect(item, &QAction::triggered, this, [this, cut] { takeSelection(cut); });
  }
  return menu;
}

void TextBox::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = contextMenu(event->pos());
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

}  // namespace marloxqt
