// The editor's text box.  Qt lays a paragraph out whole after every edit in
// it, so a key press in a line of megabytes would cost a second: a line
// longer than a piece is shown as several paragraphs whose breaks are not
// in the text ("soft" breaks, marked on the paragraph after them).  The
// text the program reads and writes, positions included, is the real one:
// the soft breaks are taken out of it and never put into it.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QTextBlock>
#include <vector>

namespace marloxqt {

class TextBox final : public QPlainTextEdit {
 public:
  // The longest paragraph shown whole, in UTF-16 units.
  static constexpr int kPiece = 8192;

  explicit TextBox(QWidget* parent = nullptr);

  // The whole text, lines ending in "\n"; setting it empties the undo
  // history.
  QString realText() const;
  void setRealText(const QString& text);
  // The real text from `start` to `end` (positions in the real text).
  QString realText(int start, int end) const;
  // The real text of the selection: what every copy of it gives.
  QString selectedRealText() const;

  // Whether the break before `block` is a soft one.
  static bool isSoft(const QTextBlock& block);

  // Positions between the real text and the document shown, in
  // logarithmic time.
  int toReal(int shown) const;
  int toShown(int real) const;

  // Inserts `text` at `cursor` (replacing its selection) as one step of
  // the undo history; every line break in it is a real one.  Every key
  // that breaks a line (Shift+Enter too) inserts a real break this way.
  void insertReal(QTextCursor& cursor, const QString& text);

  // The text box's own menu (Qt's standard one), whose cut and delete keep
  // the break of the paragraph left, as keys do; the caller owns it.
  QMenu* contextMenu(QPoint at);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Whether a paragraph begins after a soft break: while none does,
  // positions need no mapping.
  bool pieces() const { return !soft_.empty(); }
  // Takes the selection away (to the clipboard first when `cut`), keeping
  // the break of the paragraph left.
  void takeSelection(bool cut);
  // Keeps soft_ true to a change of the document, whatever made it (an
  // edit, undo, redo, a change of a paragraph's format).
  void noteChange(int from, int added);

  // The numbers of the paragraphs after a soft break, in order, and the
  // number of paragraphs they were counted in.
  std::vector<int> soft_;
  int blocks_ = 1;
};

}  // namespace marloxqt
