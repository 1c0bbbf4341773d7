#include "fakes.h"

#include <algorithm>

namespace marloxtest {

void FakeEditor::changed() {
  if (onChange) onChange();
}

void FakeEditor::replaceSelection(const std::u16string& text) {
  content.replace(static_cast<size_t>(start), static_cast<size_t>(length), text);
  start += static_cast<int32_t>(text.size());
  length = 0;
  note("replace " + u8(text));
  changed();
}

void FakeEditor::setText(const std::u16string& text) {
  content = text;
  start = length = 0;
  note("set " + u8(text));
  changed();
}

void FakeEditor::select(int32_t s, int32_t n) {
  const auto size = static_cast<int32_t>(content.size());
  start = std::clamp(s, 0, size);
  length = std::clamp(n, 0, size - start);
  note("select " + std::to_string(start) + " " + std::to_string(length));
}

void FakeEditor::insertAtEnd(const std::u16string& text) {
  content += text;
  start = static_cast<int32_t>(content.size());
  length = 0;
  note("append " + u8(text));
  changed();
}

void FakeTree::clear() {
  nodes.clear();
  top.clear();
  selection.clear();
  note("clear");
}

void FakeTree::add(const std::u16string& parentKey, const TreeNode& node) {
  if (nodes.count(node.key)) fail("tree: key added twice: " + u8(node.key));
  if (!parentKey.empty() && !nodes.count(parentKey)) fail("tree: no parent " + u8(parentKey));
  (parentKey.empty() ? top : nodes.at(parentKey).children).push_back(node.key);
  nodes[node.key] = Shown{node, parentKey, {}, false};
  note("add " + u8(node.tag) + " " + u8(node.key) + " " + u8(node.text));
}

void FakeTree::remove(const std::u16string& key) {
  auto it = nodes.find(key);
  if (it == nodes.end()) fail("tree: no node " + u8(key));
  if (!it->second.children.empty()) fail("tree: removing a node with children " + u8(key));
  auto& siblings = it->second.parent.empty() ? top : nodes.at(it->second.parent).children;
  siblings.erase(std::find(siblings.begin(), siblings.end(), key));
  nodes.erase(it);
  if (selection == key) selection.clear();
  note("remove " + u8(key));
}

void FakeTree::expand(const std::u16string& key) {
  if (!nodes.count(key)) fail("tree: expanding no node " + u8(key));
  nodes.at(key).expanded = true;
  note("expand " + u8(key));
}

void FakeTree::select(const std::u16string& key) {
  if (!nodes.count(key)) fail("tree: selecting no node " + u8(key));
  selection = key;
  note("select " + u8(key));
}

std::string FakeTree::outline(const std::u16string& key, int level) const {
  std::string s;
  for (const std::u16string& child : childrenOf(key)) {
    s += std::string(static_cast<size_t>(2 * level), ' ') + u8(nodes.at(child).node.text) + "\n";
    s += outline(child, level + 1);
  }
  return s;
}

std::u16string ScriptedDialogs::take(const std::string& kind, const std::u16string& fileName,
                                     const std::u16string& filter) {
  note(kind + " " + u8(fileName) + " | " + u8(filter));
  if (expected_.empty()) fail("dialogs: unexpected " + kind + " dialog");
  Expected next = expected_.front();
  expected_.pop_front();
  if (next.kind != kind || next.fileName != fileName || next.filter != filter)
    fail("dialogs: " + kind + " " + u8(fileName) + " | " + u8(filter) + " but expected " + next.kind + " " +
         u8(next.fileName) + " | " + u8(next.filter));
  return next.answer;
}

void ScriptedDialogs::checkAllAsked() const {
  check();
  if (!expected_.empty()) throw std::logic_error("dialogs: expected " + expected_.front().kind + " never shown");
}

bool ScriptedNet::fetchText(const std::u16string& url, std::u16string& text) {
  note("fetch " + u8(url));
  auto it = pages.find(url);
  if (it == pages.end()) fail("net: unexpected fetch " + u8(url));
  if (!it->second) return false;
  text = *it->second;
  return true;
}

void ScriptedBrowser::openUrl(const std::u16string& url) {
  note("open " + u8(url));
  if (expected.empty() || expected.front() != url) fail("browser: unexpected " + u8(url));
  expected.pop_front();
}

bool ScriptedLauncher::startDetached(const std::vector<std::string>& argv) {
  std::string line;
  for (const std::string& a : argv) line += (line.empty() ? "" : " | ") + a;
  note("start " + line);
  if (expected.empty() || expected.front() != argv) fail("launcher: unexpected start " + line);
  expected.pop_front();
  return true;
}

}  // namespace marloxtest
