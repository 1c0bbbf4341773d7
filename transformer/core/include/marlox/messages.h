// Every text the program shows its user, exactly as the program has always
// worded it (slips of the pen included: users and their scripts know these
// texts).  Line breaks inside a text are CR LF; only the window layer turns
// them into its own line breaks.  Texts with a part filled in at run time
// come as the pieces around it, joined by the functions at the end.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace marlox::msg {

using T = std::u16string_view;

inline constexpr T kCrLf = u"\r\n";

// The application title: the end of the window caption and the default
// title of every box the program shows.
inline constexpr T kAppTitle = u"Pelmora文本变换器";
inline constexpr T kCaptionJoin = u" - ";
inline constexpr T kNewFileCaption = u"新文件 - ";

// Event scripts.
inline constexpr T kRunEventFailedHead = u"在执行脚本[";
inline constexpr T kRunEventFailedTail = u"]时出现错误。";

// The script bridge.
inline constexpr T kExecCmdFailed = u"执行外部命令时时现错误：";
inline constexpr T kWarnTitle = u"警告";
inline constexpr T kErrorTitle = u"运行错误";
inline constexpr T kUnsupportedHead = u"不被支持的方法[";
inline constexpr T kUnsupportedTail = u"]调用。";
inline constexpr T kScriptFailed = u"执行脚本时出现错误：";
inline constexpr T kScriptFailedWhere = u"错误位置：";
inline constexpr T kSysVerPrefix = u"Marlox ";

// The script tree and its popup menu.
inline constexpr T kPopExec = u"执行(&E)";
inline constexpr T kPopNew = u"新建(&N)...";
inline constexpr T kPopEdit = u"编辑(&E)...";
inline constexpr T kPopDelete = u"删除(&D)";
inline constexpr T kPopNewFolder = u"新建文件夹(&C)...";
inline constexpr T kCannotCreateHere = u"当前位置不能创建新的脚本文件。";
inline constexpr T kNewScriptPrompt = u"请输入新建脚本文件的名称：";
inline constexpr T kNewScriptDefault = u"用户新脚本";
inline constexpr T kScriptExists = u"同名的脚本文件已经存在，请重新换一个名子。";
inline constexpr T kCannotEdit = u"当前选择不能被编辑。";
inline constexpr T kDeleteHead = u"您确定要删除脚本[";
inline constexpr T kDeleteTail = u"]文件吗？";
inline constexpr T kNewFolderPrompt = u"请输入新建文件夹的名称：";
inline constexpr T kNewFolderDefault = u"新建用户脚本目录";
inline constexpr T kFolderExists = u"同名的文件夹已经存在，请重新换一个名子。";

// The main window: menus, toolbar tooltips, questions and status texts.
inline constexpr T kMenuFile = u"文件";
inline constexpr T kMenuFileNew = u"新文件";
inline constexpr T kMenuFileOpen = u"打开(&O)...";
inline constexpr T kMenuFileUrl = u"打开网上链接(&URL)...";
inline constexpr T kMenuFileSave = u"保存(&S)";
inline constexpr T kMenuFileSaveAs = u"更名保存(&A)";
inline constexpr T kMenuExit = u"退出(&X)";
inline constexpr T kMenuEdit = u"编辑";
inline constexpr T kMenuCut = u"剪切(&U)";
inline constexpr T kMenuCopy = u"复制(&C)";
inline constexpr T kMenuPaste = u"粘贴(&P)";
inline constexpr T kMenuSelectAll = u"选择全部(&A)";
inline constexpr T kMenuHelp = u"帮助";
inline constexpr T kMenuWebSite = u"访问网站(&W)";
inline constexpr T kMenuAbout = u"关于(&A)...";
inline constexpr T kTipNew = u"新建文件";
inline constexpr T kTipOpen = u"打开文件";
inline constexpr T kTipUrl = u"打开网络链接";
inline constexpr T kTipSave = u"保存文件";
inline constexpr T kTipSaveAs = u"更名保存";
inline constexpr T kTipCut = u"剪切";
inline constexpr T kTipCopy = u"复制";
inline constexpr T kTipPaste = u"粘贴";
inline constexpr T kTipExec = u"执行脚本";
inline constexpr T kTipHelp = u"关于...";
inline constexpr T kTextFilter = u"文本文件(*.txt)|*.txt|所有文件(*.*)|*.*";
inline constexpr T kConfirmSave = u"数据已经修改，是否保存修改后的结果？";
inline constexpr T kUrlPrompt = u"输入要打开的网络链接(URL)";
inline constexpr T kUrlDefault = u"http://";
inline constexpr T kNothingSelected = u"没有文本被选择。";
inline constexpr T kNothingToPaste = u"没有可粘贴的内容。";

// Loading and saving a text file.
inline constexpr T kFileHead = u"文件[";
inline constexpr T kTooLargeTail = u"]大于64MB，不能打开。";
inline constexpr T kNotExactText = u"此文件含有不能作为文本读出的内容（如二进制数据），保存时会先询问。";
inline constexpr T kSaveChangesBytes =
    u"此文件含有不能作为文本读出的内容（如二进制数据），保存会改变其中您没有编辑过的字节。是否仍然保存？";
inline constexpr T kSaveLosesChars = u"文本中有此文件的编码不能保存的字符，保存后它们将变为“?”。是否仍然保存？";
inline constexpr T kSaveFailedTail = u"]不能被保存：";
inline constexpr T kNotRegularFile = u"不是普通文件。";
// The step of a save that failed, as the pieces around the file it was done
// to (or beside); the system's message follows.
struct Around {
  T head, tail;
};
inline constexpr Around kSaveMakeTemp = {u"不能在文件[", u"]所在的文件夹中建立临时文件："};
inline constexpr Around kSaveWriteTemp = {u"不能写入文件[", u"]所在文件夹中的临时文件："};
inline constexpr Around kSaveReplace = {u"不能用临时文件替换文件[", u"]："};
inline constexpr Around kSaveOpen = {u"不能打开文件[", u"]以写入："};
inline constexpr Around kSaveReserve = {u"不能在文件[", u"]中为新内容预留空间："};
inline constexpr Around kSaveRestore = {u"预留空间失败后，不能恢复文件[", u"]原来的长度："};
inline constexpr Around kSaveWrite = {u"不能写入文件[", u"]："};
inline constexpr Around kSaveCut = {u"不能把文件[", u"]截断到新内容的长度："};
inline constexpr Around kSaveFlush = {u"不能把文件[", u"]的内容写入磁盘："};

// The profile at start-up.
inline constexpr T kProfileHead = u"配置文件[";
inline constexpr T kProfileUnreadableTail = u"]不能被读取：";
inline constexpr T kProfileUnwritableTail = u"]不能被写入：";
inline constexpr T kProfileDefaults = u"程序将按默认设置运行，所作的设置不会被保存。";
inline constexpr T kProfileNotKept = u"所作的设置不会被保存，首次运行的脚本在每次启动时都会执行。";

// Dialogs, folder helpers, the error box and the about box.
inline constexpr T kAllFilesFilter = u"所有文件(*.*)|*.*";
inline constexpr T kTargetHead = u"目标路径[";
inline constexpr T kTargetTail = u"]不能被建立。";
inline constexpr T kShowErrIntro = u"程序运行时出现以下错误，如一直不能解决，请与开发者联系：";
inline constexpr T kShowErrTitleTail = u" 运行错误";
inline constexpr T kAboutCaptionHead = u"关于 ";
inline constexpr T kVersionHead = u"版本 ";
inline constexpr T kOk = u"确定";
inline constexpr T kAboutDescription = u"用脚本变换编辑器中的文本：在左边的脚本树中选择脚本，双击执行。";
inline constexpr T kAboutDisclaimer = u"本程序按“现状”提供，不附带任何明示或暗示的担保。";

inline std::u16string join(std::initializer_list<T> parts) {
  std::u16string s;
  for (T p : parts) s += p;
  return s;
}

// The application title as a box takes it.
inline std::u16string appTitle() { return std::u16string(kAppTitle); }
inline std::u16string runEventFailed(T text) {
  return join({kRunEventFailedHead, text, kRunEventFailedTail});
}
inline std::u16string execCmdFailed(T commandLine) { return join({kExecCmdFailed, kCrLf, commandLine}); }
inline std::u16string unsupportedMethod(T name) {
  return join({kUnsupportedHead, name, kUnsupportedTail});
}
inline std::u16string scriptFailed(T description, T sourceFull) {
  return join({kScriptFailed, kCrLf, description, kCrLf, kScriptFailedWhere, sourceFull});
}
inline std::u16string confirmDelete(T key) { return join({kDeleteHead, key, kDeleteTail}); }
inline std::u16string targetNotMade(T folder) { return join({kTargetHead, folder, kTargetTail}); }
inline std::u16string tooLargeToOpen(T file) { return join({kFileHead, file, kTooLargeTail}); }
inline std::u16string saveStep(const Around& step, T file, T message) {
  return join({step.head, file, step.tail, message});
}
inline std::u16string saveFailed(T file, T reason) { return join({kFileHead, file, kSaveFailedTail, kCrLf, reason}); }
inline std::u16string profileUnreadable(T file, T reason) {
  return join({kProfileHead, file, kProfileUnreadableTail, kCrLf, reason, kCrLf, kProfileDefaults});
}
inline std::u16string profileUnwritable(T file, T reason) {
  return join({kProfileHead, file, kProfileUnwritableTail, kCrLf, reason, kCrLf, kProfileNotKept});
}
inline std::u16string showErrText(T message) { return join({kShowErrIntro, kCrLf, kCrLf, message}); }

}  // namespace marlox::msg
