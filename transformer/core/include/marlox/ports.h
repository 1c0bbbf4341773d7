// What the program's core asks of the window system, one small interface
// per thing it touches.  The Qt layer implements them over its widgets;
// the core's tests implement them as scripted fakes.  Boxes, beeps and
// yields are not here: they go through the runtime's UI host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace marlox {

// The editor's text box.  Its text ends lines with "\n"; positions and
// lengths count UTF-16 units of that text.
class EditorPort {
 public:
  virtual ~EditorPort() = default;
  virtual int32_t selStart() = 0;
  virtual int32_t selLength() = 0;
  // The selected text; lines may be separated by U+2029 as well as "\n".
  virtual std::u16string selectedText() = 0;
  // Replaces the selection (inserts at the caret when nothing is selected)
  // and leaves the caret after the new text.
  virtual void replaceSelection(const std::u16string& text) = 0;
  virtual std::u16string text() = 0;
  virtual void setText(const std::u16string& text) = 0;
  virtual void select(int32_t start, int32_t length) = 0;
  // Collapses the selection and inserts at the end of the text.
  virtual void insertAtEnd(const std::u16string& text) = 0;
};

// The main window itself.
class WindowPort {
 public:
  virtual ~WindowPort() = default;
  // False once the window has gone.
  virtual bool exists() = 0;
  virtual void setCaption(const std::u16string& caption) = 0;
  virtual void setStatus(const std::u16string& text) = 0;
  // Closes the window later, from the message loop, through its usual
  // close handling (the question about unsaved text included).
  virtual void requestClose() = 0;
};

// One node of the script tree as the view shows it.
struct TreeNode {
  std::u16string tag;           // "root", "dir" or "zub"
  std::u16string key;           // a full path; folders end in "/"
  std::u16string text;
  std::u16string icon;          // an image key: "tools", "closed", "exec"
  std::u16string expandedIcon;  // "opened" for folders, else empty
};

// The tree view, mirroring the core's tree node by node.
class TreePort {
 public:
  virtual ~TreePort() = default;
  virtual void clear() = 0;
  // Adds `node` as the last child of the node keyed `parentKey` (the top
  // level when it is empty).
  virtual void add(const std::u16string& parentKey, const TreeNode& node) = 0;
  virtual void remove(const std::u16string& key) = 0;
  virtual void expand(const std::u16string& key) = 0;
  // The selected node's key; empty when none is selected.
  virtual std::u16string selectedKey() = 0;
  virtual void select(const std::u16string& key) = 0;
};

// The common dialogs.  A filter is "description|pattern|description|pattern...".
class DialogPort {
 public:
  virtual ~DialogPort() = default;
  // The chosen file, or "" when cancelled.
  virtual std::u16string openFile(const std::u16string& fileName, const std::u16string& filter) = 0;
  // The same, asking before an existing file is chosen.
  virtual std::u16string saveFile(const std::u16string& fileName, const std::u16string& filter) = 0;
  // The about box, modal.
  virtual void aboutBox() = 0;
};

// Fetching the text of a URL, synchronously.
class NetPort {
 public:
  virtual ~NetPort() = default;
  // The body as text; false when it cannot be fetched (within the port's
  // own limits of time and size).
  virtual bool fetchText(const std::u16string& url, std::u16string& text) = 0;
};

// The system's web browser.
class BrowserPort {
 public:
  virtual ~BrowserPort() = default;
  virtual void openUrl(const std::u16string& url) = 0;
};

// Starting another program, which runs on its own.
class LauncherPort {
 public:
  virtual ~LauncherPort() = default;
  // argv[0] is the program (found through PATH); false when it cannot start.
  virtual bool startDetached(const std::vector<std::string>& argv) = 0;
};

// The desktop clipboard as text.
class ClipboardText {
 public:
  virtual ~ClipboardText() = default;
  virtual bool hasText() = 0;
  virtual std::u16string text() = 0;
  virtual void setText(const std::u16string& text) = 0;
};

}  // namespace marlox
