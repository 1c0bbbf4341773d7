// The editor's text box.  Qt lays a paragraph out whole after every edit in
// it, so a key press in a line of megabytes would cost a second: a line
// longer than a piece is shown as several paragraphs whose breaks are not
// in the text ("soft" breaks, marked on the paragraph after them).  The
// text the program reads and writes, positions included, is the real one:
// the soft breaks are taken out of it and never put into it.
#pragma once

#include <QPlainTextEdit>
#include <QString>

namespace marloxqt {

class TextBox final : public QPlainTextEdit {
 public:
  // The longest paragraph shown whole, in UTF-16 units.
  static constexpr int kPiece = 8192;

  explicit TextBox(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}

  // The whole text, lines ending in "\n"; setting it empties the undo
  // history.
  QString realText() const;
  void setRealText(const QString& text);
  // The real text from `start` to `end` (positions in the real text).
  QString realText(int start, int end) const;

  // Positions between the real text and the document shown.
  int toReal(int shown) const;
  int toShown(int real) const;

  // Inserts `text` at `cursor` (replacing its selection) as one step of
  // the undo history; every line break in it is a real one.
  void insertReal(QTextCursor& cursor, const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  // Whether a soft break was made since the text was last set: while
  // none was, positions need no mapping.
  bool pieces_ = false;
};

}  // namespace marloxqt
