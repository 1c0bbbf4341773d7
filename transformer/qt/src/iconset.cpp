#include "marloxqt/iconset.h"

#include <QApplication>
#include <QStyle>

namespace marloxqt {

namespace {

struct Image {
  std::u16string_view key;
  const char* theme;
  QStyle::StandardPixmap fallback;
};

constexpr Image kImages[] = {
    {u"new", "document-new", QStyle::SP_FileIcon},
    {u"open", "document-open", QStyle::SP_DialogOpenButton},
    {u"cut", "edit-cut", QStyle::SP_DialogDiscardButton},
    {u"copy", "edit-copy", QStyle::SP_FileLinkIcon},
    {u"paste", "edit-paste", QStyle::SP_ArrowDown},
    {u"save", "document-save", QStyle::SP_DialogSaveButton},
    {u"add", "list-add", QStyle::SP_FileDialogNewFolder},
    {u"del", "edit-delete", QStyle::SP_TrashIcon},
    {u"help", "help-about", QStyle::SP_MessageBoxQuestion},
    {u"saveas", "document-save-as", QStyle::SP_DriveFDIcon},
    {u"exec", "system-run", QStyle::SP_MediaPlay},
    {u"tools", "applications-utilities", QStyle::SP_ComputerIcon},
    {u"closed", "folder", QStyle::SP_DirClosedIcon},
    {u"opened", "folder-open", QStyle::SP_DirOpenIcon},
    {u"url", "applications-internet", QStyle::SP_DriveNetIcon},
};

}  // namespace

QIcon iconFor(std::u16string_view key) {
  for (const Image& i : kImages)
    if (i.key == key) return QIcon::fromTheme(QString::fromLatin1(i.theme), QApplication::style()->standardIcon(i.fallback));
  return {};
}

}  // namespace marloxqt
