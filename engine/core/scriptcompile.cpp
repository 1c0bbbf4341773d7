#include "core/scriptcompile.h"

#include <new>
#include <utility>

#include "core/compoundbodies.h"
#include "core/records.h"
#include "core/sourcetext.h"
#include "core/tokencode.h"
#include "rt/strings.h"

namespace engine {

namespace {

constexpr std::u16string_view kContinuation = u" _";

rt::Ref<nubrel::VStream> requireStream(rt::Ref<nubrel::VStream> vs) {
  if (!vs) rt::raise(rt::err::ObjectNotSet);
  return vs;
}

bool isDefinitionKeyword(int32_t code) { return code == tok::Sub || code == tok::Function; }
bool isVisibilityKeyword(int32_t code) { return code == tok::Public || code == tok::Private; }

}  // namespace

const rt::MemberTable<ScriptCompile>& ScriptCompile::members() {
  using VS = rt::Ref<nubrel::VStream>;
  static const auto table =
      rt::MemberTable<ScriptCompile>(u"ScriptCompile")
          .prop(u"curLineCode", &ScriptCompile::curLineCode, &ScriptCompile::setCurLineCode)
          .get(u"Error", [](ScriptCompile& c) { return rt::Ref<jespin::IErrInfo>(&c.error()); })
          .method(u"Compile",
                  [](ScriptCompile& c, std::u16string s, VS vs) {
                    c.compile(s, *requireStream(vs));
                  })
          .method(u"CompileLine",
                  [](ScriptCompile& c, std::u16string s, VS vs) {
                    c.compileLine(s, *requireStream(vs));
                  })
          .method(u"CompileEnd", [](ScriptCompile& c, VS vs) { c.compileEnd(*requireStream(vs)); });
  return table;
}

ScriptCompile::ScriptCompile() : items_(rt::make<ExpItems>()), error_(u"ScriptCompile") {}

void ScriptCompile::setCurLineCode(int32_t line) {
  curLine_ = line;
  lineSet_ = true;
}

void ScriptCompile::compile(std::u16string_view s, nubrel::VStream& vs) {
  error_.clear();
  try {
    pending_.clear();
    inBlockComment_ = false;
    fun_ = nullptr;
    check_.start();
    curLine_ = 0;
    lineSet_ = false;
    for (std::u16string_view line : rt::splitLines(s)) {
      compileLine(line, vs);
      if (error_.haveErr()) break;
    }
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"Compile");
  } catch (const std::bad_alloc&) {
    error_.trapOutOfMemory(u"Compile");
  }
  // The end record is written also after an error, keeping the first error.
  bool failed = error_.haveErr();
  if (failed) fun_ = nullptr;
  try {
    compileEnd(vs);
  } catch (const rt::RuntimeError& e) {
    if (!failed) error_.trap(e, u"Compile");
  } catch (const std::bad_alloc&) {
    if (!failed) error_.trapOutOfMemory(u"Compile");
  }
}

void ScriptCompile::compileLine(std::u16string_view s, nubrel::VStream& vs) {
  error_.clear();
  if (!lineSet_) ++curLine_;
  lineSet_ = false;
  try {
    std::u16string text(trimBlanks(clearSptRem(s, inBlockComment_)));
    if (text.ends_with(kContinuation)) {
      // The next line continues this one, after one blank.
      text.pop_back();
      pending_ += text;
      return;
    }
    std::u16string statement = std::move(pending_);
    pending_.clear();
    statement += text;
    compileStatement(std::move(statement), vs);
  } catch (const rt::RuntimeError& e) {
    pending_.clear();  // a rejected line ends the statement it continued
    error_.trap(e, u"CompileLine");
  } catch (const std::bad_alloc&) {
    pending_.clear();
    error_.trapOutOfMemory(u"CompileLine");
  }
}

void ScriptCompile::compileStatement(std::u16string statement, nubrel::VStream& vs) {
  if (!statement.empty() && statement.front() == u'#') {
    const std::u16string_view directive = std::u16string_view(statement).substr(1);
    check_.directive(directive);
    vs.setVLong(RecordDirective);
    vs.setVString(directive);
    return;
  }
  items_->clear();
  items_->sptModeIndex = 0;
  items_->sptModeLine = curLine_;
  if (items_->init(statement)) {
    error_.copy(items_->error(), u"ExecLine");
    return;
  }
  if (items_->empty()) return;  // a blank or comment-only line
  if (fun_) continueDefinition(vs);
  else startDefinition(std::move(statement), vs);
}

void ScriptCompile::startDefinition(std::u16string statement, nubrel::VStream& vs) {
  int32_t first = items_->item(1).iType;
  if (isVisibilityKeyword(first) && items_->count() > 1 && isDefinitionKeyword(items_->item(2).iType)) {
    items_->remove(1);  // "Public Sub" opens a definition as "Sub" does
    first = items_->item(1).iType;
  }
  if (!isDefinitionKeyword(first)) {
    if (!check_.line(std::move(statement), *items_, error_, curLine_)) return;
    vs.setVLong(RecordLine);
    items_->writeStream(vs);
    return;
  }
  rt::Ref<SvUserFun> fun = rt::make<SvUserFun>();
  if (fun->addLine(*items_) == SvUserFun::AddFailed) {
    error_.copy(fun->error(), u"CompileLine");
    return;
  }
  fun_ = fun;
  funLine_ = curLine_;
  funKeyword_ = first;
}

void ScriptCompile::continueDefinition(nubrel::VStream& vs) {
  switch (fun_->addLine(*items_)) {
    case SvUserFun::AddFailed:
      error_.copy(fun_->error(), u"CompileLine");
      break;
    case SvUserFun::DefinitionComplete:
      if (int32_t failedLine = 0; !check_.function(fun_->lines(), error_, failedLine)) {
        curLine_ = failedLine;  // the body line, not the closing one
        fun_ = nullptr;
        break;
      }
      vs.setVLong(RecordFunction);
      fun_->writeStream(vs);
      fun_ = nullptr;
      break;
    default:
      break;
  }
}

void ScriptCompile::compileEnd(nubrel::VStream& vs) {
  if (fun_) {
    // A definition that never closed would silently take every line after
    // its header with it.
    fun_ = nullptr;
    curLine_ = funLine_;
    jespin::IErrInfo& rec = error_.info();
    rec.setNumber(errNumber(ErrUnclosed));
    rec.setDescription(unclosedText(funKeyword_, funLine_));
    rec.setSource(u"CompileEnd");
  }
  vs.setVLong(RecordEnd);
}

namespace {

// Nothing follows the end record of a compiled script: a stream of another
// kind may hold what reads as records, up to one that reads as the end, by
// chance.  A file stream knows its end once a read has run past it.
void requireNothingMore(nubrel::VStream& vs) {
  if (!vs.eof()) {
    try {
      vs.vByte();
    } catch (const rt::RuntimeError&) {
      // Nothing there to read, as it should be.
    }
  }
  if (!vs.eof()) rt::raise(kBadFileFormat);
}

}  // namespace

// Every record is read as the host reads it (streamhost.cpp); a record that
// is not the end one must have more after it, and the end one nothing.
bool ScriptCompile::checkStream(nubrel::VStream& vs) {
  error_.clear();
  try {
    rt::Ref<ExpItems> items = rt::make<ExpItems>();
    for (;;) {
      requireMore(vs);
      const int32_t kind = vs.vLong();
      if (kind < 0) {
        requireNothingMore(vs);
        return true;
      }
      requireMore(vs);
      if (kind == RecordLine) {
        items->clear();
        items->readStream(vs);
      } else if (kind == RecordDirective) {
        vs.vString();
      } else if (kind == RecordFunction) {
        rt::make<SvUserFun>()->readStream(vs);
      } else {
        rt::raise(kBadFileFormat);
      }
    }
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"CheckStream");
  } catch (const std::bad_alloc&) {
    error_.trapOutOfMemory(u"CheckStream");
  }
  return false;
}

}  // namespace engine
