#include "marloxqt/qtports.h"

#include <QStandardItemModel>
#include <QTextDocument>
#include <QTextBlock>
#include <QTextCursor>
#include <QTreeView>
#include <algorithm>

#include "marloxqt/iconset.h"
#include "marloxqt/textbox.h"
#include "marloxqt/text.h"

namespace marloxqt {

int32_t QtEditor::selStart() { return edit_->toReal(edit_->textCursor().selectionStart()); }

int32_t QtEditor::selLength() {
  QTextCursor c = edit_->textCursor();
  return edit_->toReal(c.selectionEnd()) - edit_->toReal(c.selectionStart());
}

std::u16string QtEditor::selectedText() { return us(edit_->selectedRealText()); }

void QtEditor::replaceSelection(const std::u16string& text) {
  QTextCursor c = edit_->textCursor();
  edit_->insertReal(c, qs(text));
  edit_->setTextCursor(c);
}

std::u16string QtEditor::text() { return us(edit_->realText()); }

void QtEditor::setText(const std::u16string& text) { edit_->setRealText(qs(text)); }

void QtEditor::select(int32_t start, int32_t length) {
  const int end = edit_->toReal(edit_->document()->characterCount() - 1);  // without the closing paragraph mark
  QTextCursor c(edit_->document());
  c.setPosition(edit_->toShown(std::clamp(start, 0, end)));
  c.setPosition(edit_->toShown(std::clamp(start + length, 0, end)), QTextCursor::KeepAnchor);
  edit_->setTextCursor(c);
}

void QtEditor::insertAtEnd(const std::u16string& text) {
  QTextCursor c = edit_->textCursor();
  c.movePosition(QTextCursor::End);
  edit_->insertReal(c, qs(text));
  edit_->setTextCursor(c);
}

QtTree::QtTree(QTreeView* view, QStandardItemModel* model) : view_(view), model_(model) {
  // A folder shows its open image while it is expanded.
  auto swap = [this](const QModelIndex& index, bool expanded) {
    QStandardItem* it = model_->itemFromIndex(index);
    QString open = it ? it->data(kExpandedIconRole).toString() : QString();
    if (open.isEmpty()) return;
    it->setIcon(iconFor(us(expanded ? open : it->data(kIconRole).toString())));
  };
  QObject::connect(view_, &QTreeView::expanded, view_, [swap](const QModelIndex& i) { swap(i, true); });
  QObject::connect(view_, &QTreeView::collapsed, view_, [swap](const QModelIndex& i) { swap(i, false); });
}

void QtTree::clear() {
  model_->clear();
  items_.clear();
}

void QtTree::add(const std::u16string& parentKey, const marlox::TreeNode& node) {
  auto* it = new QStandardItem(iconFor(node.icon), qs(node.text));
  it->setEditable(false);
  it->setData(qs(node.tag), kTagRole);
  it->setData(qs(node.key), kKeyRole);
  it->setData(qs(node.icon), kIconRole);
  it->setData(qs(node.expandedIcon), kExpandedIconRole);
  QStandardItem* parent = parentKey.empty() ? model_->invisibleRootItem() : item(parentKey);
  if (!parent) parent = model_->invisibleRootItem();
  parent->appendRow(it);
  items_.insert(qs(node.key), it);
}

void QtTree::remove(const std::u16string& key) {
  QStandardItem* it = items_.take(qs(key));
  if (!it) return;
  QStandardItem* parent = it->parent() ? it->parent() : model_->invisibleRootItem();
  parent->removeRow(it->row());
}

void QtTree::expand(const std::u16string& key) {
  if (QStandardItem* it = item(key)) view_->expand(it->index());
}

std::u16string QtTree::selectedKey() {
  QModelIndexList selected = view_->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? std::u16string() : us(selected.first().data(kKeyRole).toString());
}

void QtTree::select(const std::u16string& key) {
  QStandardItem* it = item(key);
  if (!it) return;
  view_->setCurrentIndex(it->index());
  view_->scrollTo(it->index());
}

}  // namespace marloxqt
