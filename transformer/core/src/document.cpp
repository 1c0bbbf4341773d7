#include "marlox/document.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "marlox/dialogs.h"
#include "marlox/docfile.h"
#include "marlox/edittext.h"
#include "marlox/folderops.h"
#include "marlox/messages.h"
#include "marlox/program.h"
#include "rt/error.h"
#include "rt/fspath.h"
#include "rt/text.h"
#include "rt/uihost.h"

namespace marlox {

namespace {

// The name a save writes to: a link is followed, so the file it names is
// replaced and the link stays.
std::string saveTarget(std::u16string_view fn) {
  return rt::fs::linkedFile(rt::fs::nativePath(fn));
}

// The step of a save that failed, as its message says it.
const msg::Around& stepText(WriteFailure::Step step) {
  switch (step) {
    case WriteFailure::MakeTemp: return msg::kSaveMakeTemp;
    case WriteFailure::WriteTemp: return msg::kSaveWriteTemp;
    case WriteFailure::Replace: return msg::kSaveReplace;
    case WriteFailure::Reserve: return msg::kSaveReserve;
    case WriteFailure::Restore: return msg::kSaveRestore;
    case WriteFailure::Write: return msg::kSaveWrite;
    case WriteFailure::Cut: return msg::kSaveCut;
    case WriteFailure::Flush: return msg::kSaveFlush;
    case WriteFailure::None:
    case WriteFailure::Open: break;
  }
  return msg::kSaveOpen;
}

// Writes `bytes` to the file `fn` names; why not, when it cannot: the step
// that failed and the file it was done to (the one a link leads to).
std::u16string writeDocumentFile(std::u16string_view fn, std::string_view bytes) {
  std::string target = saveTarget(fn);
  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) return std::u16string(msg::kNotRegularFile);
  WriteFailure failure{WriteFailure::Open, EACCES};
  if (!exists || rt::fs::writable(target, st)) failure = writeFileContent(target, exists ? &st : nullptr, bytes);
  if (!failure) return {};
  return msg::saveStep(stepText(failure.step), rt::fromUtf8(target), systemMessage(failure.error));
}

}  // namespace

std::u16string Document::caption() const {
  if (!curFileName_.empty()) return msg::join({curFileName_, msg::kCaptionJoin, msg::kAppTitle});
  if (!curUrl_.empty()) return msg::join({curUrl_, msg::kCaptionJoin, msg::kAppTitle});
  return msg::join({msg::kNewFileCaption, msg::kAppTitle});
}

void Document::reset() {
  modified_ = false;
  newForm();
  setDocument({}, {});
}

void Document::newForm() {
  form_ = TextForm{};
  setExact(true);
}

void Document::setExact(bool exact) {
  // The word about a text read with loss goes with it.
  if (exact != exact_) showStatus(exact ? std::u16string_view() : msg::kNotExactText);
  exact_ = exact;
}

void Document::setDocument(std::u16string_view fileName, std::u16string_view url) {
  curFileName_ = fileName;
  curUrl_ = url;
  window_.setCaption(caption());
}

void Document::showStatus(std::u16string_view text) { window_.setStatus(std::u16string(text)); }

bool Document::confirmSave() {
  if (!modified_) return true;
  int32_t answer = rt::uiHost().messageBox(std::u16string(msg::kConfirmSave),
                                           rt::mb::Question | rt::mb::YesNo, msg::appTitle());
  return answer == rt::mb::Yes ? cmFileSave() : true;
}

bool Document::cmFileNew() {
  if (confirmSave()) {
    editor_.setText({});
    reset();
  }
  return program_.runEvent(u"FileNew");
}

bool Document::cmFileOpen(std::u16string_view name) {
  if (!confirmSave()) return false;
  std::u16string fn(name);
  if (fn.empty()) fn = showOpenDialog(program_.services().dialogs, curFileName_, msg::kTextFilter);
  if (!fn.empty() && loadTextFile(fn)) setDocument(fn, {});
  return program_.runEvent(u"FileOpen");
}

bool Document::cmFileSave() {
  if (curFileName_.empty()) return cmFileSaveAs();
  if (!saveTextFile(curFileName_)) return false;
  return program_.runEvent(u"FileSave");
}

bool Document::cmFileSaveAs() {
  std::u16string fn = showSaveDialog(program_.services().dialogs, curFileName_, msg::kTextFilter);
  if (fn.empty() || !saveTextFile(fn)) return false;
  setDocument(fn, {});
  return program_.runEvent(u"FileSave");
}

bool Document::cmOpenUrl(std::u16string_view address) {
  std::u16string url(address);
  if (url.empty()) {
    url = rt::uiHost().inputBox(std::u16string(msg::kUrlPrompt), msg::appTitle(),
                                curUrl_.empty() ? std::u16string(msg::kUrlDefault) : curUrl_);
  }
  try {
    if (url.empty() || !confirmSave()) return false;
    std::u16string body;
    if (!program_.services().net.fetchText(url, body)) return false;
    editor_.setText(toEditor(body));
    newForm();
    setDocument({}, url);
    // The fetched text counts as changed: it is in no file yet.
    modified_ = true;
    return program_.runEvent(u"OpenUrl");
  } catch (...) {
    return false;
  }
}

bool Document::loadTextFile(std::u16string_view fn) {
  try {
    std::string bytes;
    switch (readFileContent(rt::fs::nativePath(fn), kLargestText, bytes)) {
      case FileRead::Ok: break;
      case FileRead::TooLarge: showStatus(msg::tooLargeToOpen(fn)); return false;
      case FileRead::Failed: return false;
    }
    ReadText read = readText(bytes);
    editor_.setText(read.text);
    form_ = std::move(read.form);
    setExact(read.exact);
    modified_ = false;
    return true;
  } catch (...) {
    return false;
  }
}

bool Document::mayWrite(bool whole) {
  if (exact_ && whole) return true;
  const std::u16string question(exact_ ? msg::kSaveLosesChars : msg::kSaveChangesBytes);
  const int32_t style = rt::mb::Exclamation | rt::mb::YesNo | rt::mb::DefaultButton2;
  return rt::uiHost().messageBox(question, style, msg::appTitle()) == rt::mb::Yes;
}

bool Document::saveTextFile(std::u16string_view fn) {
  std::u16string reason;
  try {
    bool whole = true;
    std::string bytes = writeText(editor_.text(), form_, &whole);
    if (!mayWrite(whole)) return false;
    reason = writeDocumentFile(fn, bytes);
  } catch (const rt::RuntimeError& e) {
    reason = e.description();
  } catch (const std::bad_alloc&) {
    reason = rt::errorText(rt::err::OutOfMemory);
  }
  if (!reason.empty()) {
    showErr(msg::saveFailed(fn, reason));
    return false;
  }
  modified_ = false;
  setExact(true);
  return true;
}

void Document::appendText(std::u16string_view s) { editor_.insertAtEnd(std::u16string(s)); }

bool Document::copySelection() {
  if (editor_.selLength() == 0) {
    rt::uiHost().beep();
    showStatus(msg::kNothingSelected);
    return false;
  }
  std::u16string text = editor_.selectedText();
  for (char16_t& c : text)
    if (c == u'\u2029') c = u'\n';
  program_.services().clipboard.setText(text);
  return true;
}

void Document::editCommand(int index) {
  switch (index) {
    case 0:
      if (copySelection()) editor_.replaceSelection({});
      break;
    case 1:
      copySelection();
      break;
    case 2: {
      ClipboardText& clipboard = program_.services().clipboard;
      if (!clipboard.hasText()) {
        rt::uiHost().beep();
        showStatus(msg::kNothingToPaste);
        break;
      }
      editor_.replaceSelection(toEditor(clipboard.text()));
      break;
    }
    case 4:
      editor_.select(0, static_cast<int32_t>(editor_.text().size()));
      break;
    default:
      break;
  }
}

std::u16string Document::scriptSelection() { return toCrLf(editor_.selectedText()); }

std::u16string Document::scriptText() { return toCrLf(editor_.text()); }

void Document::setScriptSelection(std::u16string_view text) {
  std::u16string inserted = toEditor(text);
  int32_t start = editor_.selStart();
  editor_.replaceSelection(inserted);
  editor_.select(start, static_cast<int32_t>(inserted.size()));
}

void Document::setScriptText(std::u16string_view text) { editor_.setText(toEditor(text)); }

}  // namespace marlox
