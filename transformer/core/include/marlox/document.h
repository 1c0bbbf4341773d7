// The text being transformed: the editor's text with the file or URL it came
// from and the program's own modified flag; the file commands, the question
// about unsaved text, the edit commands, and the text as scripts see it.
#pragma once

#include <string>
#include <string_view>

#include "marlox/ports.h"
#include "marlox/textform.h"

namespace marlox {

class Program;

class Document {
 public:
  // Files and URL bodies larger than this are not loaded.
  static constexpr size_t kLargestText = 64 * 1024 * 1024;

  Document(Program& program, EditorPort& editor, WindowPort& window)
      : program_(program), editor_(editor), window_(window) {}

  const std::u16string& curFileName() const { return curFileName_; }
  const std::u16string& curUrl() const { return curUrl_; }
  bool modified() const { return modified_; }
  // The editor tells of every change of its text (typing, edit commands,
  // scripts); loading, a new text and saving clear the flag afterwards.
  void textChanged() { modified_ = true; }

  // "<file> - <title>", else "<url> - <title>", else "新文件 - <title>".
  std::u16string caption() const;
  // A new, unchanged document with no name (the window's load).
  void reset();

  // Whether the current text may be dropped: true when unchanged; else the
  // Yes/No question, and Yes saves first.
  bool confirmSave();
  // The file commands; each ends with its event script and returns that
  // result (see each for when).
  bool cmFileNew();
  bool cmFileOpen(std::u16string_view fn);
  bool cmFileSave();
  bool cmFileSaveAs();
  bool cmOpenUrl(std::u16string_view url);
  // Whether the window may close.
  bool mayClose() { return confirmSave(); }

  // The file's lines joined by line breaks, with none after the last; its
  // encoding, byte-order mark and line ends are kept for the save (see
  // textform.h).  False (nothing changed) when it cannot be read; a file
  // over kLargestText says so in the status bar, and so does one that no
  // encoding reads without loss.
  bool loadTextFile(std::u16string_view fn);
  // The text in the form it was read in (a new text: the system code page,
  // CR LF lines and one after the last), so an unchanged text saves byte
  // for byte.  Asks first when the save would change bytes the text was
  // read from without loss, or cannot hold a character.  The file is
  // replaced in one step, keeping its permissions, or written in place when
  // it has other names (see docfile.h); a failed save shows the error box,
  // which names the step that failed and the file, and leaves the file as
  // it was.
  bool saveTextFile(std::u16string_view fn);
  // Inserts `s` at the end of the text, the selection collapsed.
  void appendText(std::u16string_view s);

  // The edit commands: cut 0, copy 1, paste 2, select all 4.
  void editCommand(int index);

  // The text as scripts read and assign it: CR LF lines.  An assigned
  // selection is left selected.
  std::u16string scriptSelection();
  std::u16string scriptText();
  void setScriptSelection(std::u16string_view text);
  void setScriptText(std::u16string_view text);

 private:
  void setDocument(std::u16string_view fileName, std::u16string_view url);
  void showStatus(std::u16string_view text);
  bool copySelection();
  // A new text's form, for a text that comes from no file.
  void newForm();
  // Whether the text was read without loss, said in the status bar when not.
  void setExact(bool exact);
  // Whether the save of `whole` text may go on (asked when it loses bytes).
  bool mayWrite(bool whole);

  Program& program_;
  EditorPort& editor_;
  WindowPort& window_;
  std::u16string curFileName_;
  std::u16string curUrl_;
  bool modified_ = false;
  TextForm form_;
  // The text was read without loss (or is new): saving it unchanged gives
  // the file back.
  bool exact_ = true;
};

}  // namespace marlox
