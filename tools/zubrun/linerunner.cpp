#include "linerunner.h"

#include "rt/strings.h"
#include "rt/text.h"

namespace zubrun {

bool LineRunner::failedInHost() {
  jespin::IErrInfo& e = host_->error();
  const int32_t line = contextLine(e.description());
  failedAt(runningFile(), line ? line : host_->lineNumber());
  std::string text = reportOf(rt::RuntimeError(e.number(), e.description(), e.source()));
  failed_ = true;
  if (!goOn_) {
    report_ = std::move(text);
    return false;
  }
  goOn_(text);
  where_ = Place{};
  e.clear();  // reported
  return true;
}

bool LineRunner::feed(const std::u16string& text) {
  for (std::u16string_view line : rt::splitLines(text)) {
    host_->execLine(line);
    if (host_->error().haveErr() && !failedInHost()) return false;
  }
  return true;
}

bool LineRunner::runCompiled(nubrel::VStream& vs) {
  host_->execStream(vs);
  return !host_->error().haveErr() || failedInHost();
}

bool LineRunner::end() {
  host_->execEnd();
  return !host_->error().haveErr() || failedInHost();
}

LineRunner::Status LineRunner::run(const std::string& file, std::string& report) {
  const std::string path = nameOf(file);
  Entered entered(*this, path);
  where_ = Place{};
  report_.clear();
  failed_ = false;
  try {
    Script script;
    if (!read(file, script)) {
      report = "zubrun: cannot read " + path + ": " + why_ + "\n";
      return FileProblem;
    }
    if (script.compiled ? runCompiled(*script.compiled) : feed(script.source)) end();
  } catch (const rt::RuntimeError& e) {
    failedAt(path, 0);  // a directive of a compiled file, or the file itself
    report_ = reportOf(e);
    failed_ = true;
  }
  report = std::move(report_);
  return failed_ ? ScriptFailed : Ok;
}

// The included lines are numbered in their own file; the including file's
// numbers go on after them.
void LineRunner::include(const std::u16string& written) {
  const std::string path = includedFile(written);
  Entered entered(*this, path);
  // Failures name the file as the directive wrote it.
  const std::u16string where = includeSource(written);
  Script script;
  try {
    readIncluded(path, script);
  } catch (const rt::RuntimeError& e) {
    failedAt(path, 0);  // a file the stream refuses, or one too large
    rt::raiseWith(e.number(), e.description(), where + e.source());
  }
  const int32_t including = host_->lineNumber();
  host_->setLineNumber(0);
  const bool ran = script.compiled ? runCompiled(*script.compiled) : feed(script.source);
  host_->setLineNumber(including);
  if (ran) return;
  jespin::IErrInfo& e = host_->error();
  rt::raiseWith(e.number(), e.description(), where + e.source());
}

}  // namespace zubrun
