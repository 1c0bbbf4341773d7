// What the page's script outputs, as lines of the output: a text without
// CR LF waits in the part-line; a text with CR LF completes it up to the
// last CR LF, as one line (inner CR LF pairs stay), and the rest waits.
#include <span>

#include "inuse.h"
#include "names.h"
#include "rt/dispatch.h"
#include "spage.h"

namespace halvorn {

void SPage::output(const std::u16string& s) {
  if (s.empty()) return;
  size_t end = s.rfind(u"\r\n");
  if (end == std::u16string::npos) {
    partLine_ += s;
    return;
  }
  std::u16string line = std::move(partLine_);
  line.append(s, 0, end);
  partLine_.assign(s, end + 2);
  writeLine(line);
}

void SPage::writeLine(std::u16string_view text) {
  if (objectOutput_) {
    if (!outObject_) return;
    rt::Variant arg(text);
    rt::callByName(outObject_.get(), u"InputLine", rt::Method, std::span<rt::Variant>(&arg, 1));
  } else if (outFile_) {
    outFile_->line(text);
  }
}

void SPage::flushPartLine() {
  if (partLine_.empty()) return;
  std::u16string line = std::move(partLine_);
  partLine_.clear();
  writeLine(line);
}

// Files are switched only while a file is written: during object output
// there is no current file to save the part-line to.
bool SPage::pushFile(std::u16string_view fn) {
  if (objectOutput_ || !outFile_ || !running_) return false;
  flushPartLine();
  std::u16string name(fn);
  if (isRelative(name)) name = outBasePath_ + name;
  std::unique_ptr<OutputFile> file = openOutput(name, false);
  if (!file) return false;
  outStack_.push_back(std::move(outFile_));
  outFile_ = std::move(file);
  return true;
}

bool SPage::popFile() {
  if (objectOutput_ || !outFile_ || outStack_.empty()) return false;
  flushPartLine();
  std::unique_ptr<OutputFile> done = std::move(outFile_);
  outFile_ = std::move(outStack_.back());
  outStack_.pop_back();
  // On disk now, in place with the run's other files at its end; its name
  // may be pushed again meanwhile.
  done->finish();
  inuse::written(this, done->name());
  finished_.push_back(std::move(done));
  return true;
}

}  // namespace halvorn
