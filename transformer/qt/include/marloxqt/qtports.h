// The editor and the tree view as the core's ports.
#pragma once

#include <QHash>
#include <QString>

#include "marlox/ports.h"

class QStandardItem;
class QStandardItemModel;
class QTreeView;

namespace marloxqt {

class TextBox;

class QtEditor final : public marlox::EditorPort {
 public:
  explicit QtEditor(TextBox* edit) : edit_(edit) {}
  int32_t selStart() override;
  int32_t selLength() override;
  std::u16string selectedText() override;
  void replaceSelection(const std::u16string& text) override;
  std::u16string text() override;
  void setText(const std::u16string& text) override;
  void select(int32_t start, int32_t length) override;
  void insertAtEnd(const std::u16string& text) override;

 private:
  TextBox* edit_;
};

// Item roles of the tree's items.
enum TreeRole {
  kTagRole = 0x0101,  // Qt::UserRole + 1
  kKeyRole,
  kIconRole,
  kExpandedIconRole,
};

class QtTree final : public marlox::TreePort {
 public:
  QtTree(QTreeView* view, QStandardItemModel* model);
  void clear() override;
  void add(const std::u16string& parentKey, const marlox::TreeNode& node) override;
  void remove(const std::u16string& key) override;
  void expand(const std::u16string& key) override;
  std::u16string selectedKey() override;
  void select(const std::u16string& key) override;

  QStandardItem* item(const std::u16string& key) const { return items_.value(QString::fromStdU16String(key)); }

 private:
  QTreeView* view_;
  QStandardItemModel* model_;
  QHash<QString, QStandardItem*> items_;
};

}  // namespace marloxqt
