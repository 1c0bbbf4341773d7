#include "marloxqt/iconset.h"

#include <QApplication>
#include <QStyle>

#include "editicons.h"

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
    // The style has no images for the edit commands: the program draws its
    // own (QStyle::SP_CustomBase stands for them).
    {u"cut", "edit-cut", QStyle::SP_CustomBase},
    {u"copy", "edit-copy", QStyle::SP_CustomBase},
    {u"paste", "edit-paste", QStyle::SP_CustomBase},
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
  for (const Image& i : kImages) {
    if (i.key != key) continue;
    const QString theme = QString::fromLatin1(i.theme);
    if (QIcon::hasThemeIcon(theme)) return QIcon::fromTheme(theme);
    return i.fallback == QStyle::SP_CustomBase ? drawnEditIcon(key) : QApplication::style()->standardIcon(i.fallback);
  }
  return {};
}

}  // namespace marloxqt
