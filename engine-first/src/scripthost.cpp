#include "scripthost.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string>

#include "core/blockdepth.h"
#include "core/callstack.h"
#include "core/defines.h"
#include "core/directives.h"
#include "core/ownclasses.h"
#include "core/records.h"
#include "core/rootnames.h"
#include "core/sourcetext.h"
#include "core/space.h"
#include "core/ssbody.h"
#include "core/ssroot.h"
#include "runend.h"
#include "rt/strings.h"
#include "rt/text.h"

namespace dovrel {

namespace {

namespace tok = engine::tok;
using engine::SvUserFun;
using engine::kBadFileFormat;
using engine::requireMore;

constexpr std::u16string_view kExecLine = u"ExecLine";
constexpr std::u16string_view kExecStream = u"ExecStream";
constexpr std::u16string_view kContinuation = u" _";

// "在执行第N行脚本时出现下列错误：" CR LF: while executing script line N
// the following error occurred.
std::u16string lineContext(int32_t line) {
  return u"在执行第" + rt::ascii(std::to_string(line)) + u"行脚本时出现下列错误：\r\n";
}

bool isDefinitionKeyword(int32_t code) { return code == tok::Sub || code == tok::Function; }

// "Sub" or "Function", or either after "Public" or "Private", which is
// then taken out of the line.
bool opensDefinition(engine::ExpItems& items) {
  const int32_t first = items.item(1).iType;
  if (isDefinitionKeyword(first)) return true;
  if ((first != tok::Public && first != tok::Private) || items.count() < 2 ||
      !isDefinitionKeyword(items.item(2).iType))
    return false;
  items.remove(1);
  return true;
}

}  // namespace

const rt::MemberTable<ScriptHost>& ScriptHost::members() {
  using Text = const std::u16string&;
  static const auto table =
      rt::MemberTable<ScriptHost>(u"ScriptHost")
          .prop(u"RunStop", [](ScriptHost& h) { return h.runStop(); },
                [](ScriptHost& h, bool b) { h.setRunStop(b); })
          .method(u"Execute", [](ScriptHost& h, Text s) { return h.execute(s); })
          .method(u"ExecLine", [](ScriptHost& h, Text s) { return h.execLine(s); })
          .method(u"FreeAll", [](ScriptHost& h) { h.freeAll(); })
          .method(u"RefreshSSP", [](ScriptHost& h) { h.refreshSSP(); })
          .get(u"SSpace", [](ScriptHost& h) { return h.sSpace(); })
          .get(u"errCode", [](ScriptHost& h) { return h.errCode(); })
          .get(u"ErrString", [](ScriptHost& h) { return h.errString(); })
          .get(u"Error", [](ScriptHost& h) { return rt::Ref<jespin::IErrInfo>(&h.error()); })
          .get(u"Defines", [](ScriptHost& h) { return h.defines(); })
          .set(u"Defines", [](ScriptHost& h, rt::Ref<jespin::IVValues> d) { h.setDefines(d.get()); })
          .method(u"ExecStream",
                  [](ScriptHost& h, rt::Ref<nubrel::VStream> vs) {
                    if (!vs) rt::raise(rt::err::ObjectNotSet);
                    h.execStream(*vs);
                  })
          .method(u"ExecEnd", [](ScriptHost& h) { return h.execEnd(); })
          .prop(u"LineNumber", [](ScriptHost& h) { return h.lineNumber(); },
                [](ScriptHost& h, int32_t n) { h.setLineNumber(n); });
  return table;
}

ScriptHost::ScriptHost()
    : error_(u"ScriptHost"),
      link_(rt::make<engine::HostLink>(*this)),
      defines_(engine::created<jespin::IVValues>()),
      root_(rt::make<engine::SsRoot>()),
      dispatcher_(std::make_unique<BodyGeneral>()) {}

ScriptHost::~ScriptHost() { link_->cut(); }

rt::Ref<ScriptHost> ScriptHost::create() {
  rt::Ref<ScriptHost> h(new ScriptHost());
  engine::bindRootNames(*h->root_, *h);
  h->refreshSSP();
  return h;
}

void ScriptHost::requireIdle() const {
  if (running_)
    rt::raiseWith(rt::err::InvalidCall,
                  rt::errorText(rt::err::InvalidCall) + u"：脚本宿主正在运行一行脚本，不能再次调用",
                  u"ScriptHost");
}

bool ScriptHost::runStop() {
  if (!space_) rt::raise(rt::err::ObjectNotSet);
  return space_->runStop();
}

void ScriptHost::setRunStop(bool stop) {
  if (!space_) rt::raise(rt::err::ObjectNotSet);
  space_->setRunStop(stop);
}

int32_t ScriptHost::execute(std::u16string_view s) {
  requireIdle();
  if (ended_) return errCode_;
  rt::Ref<ScriptHost> keep(this);
  errCode_ = 0;
  lineCount_ = 0;
  pending_.clear();
  if (space_) space_->setRunStop(false);
  for (std::u16string_view line : rt::splitLines(s)) {
    execLine(line);
    if (error_.haveErr()) break;
  }
  return errCode_;
}

void ScriptHost::setLineNumber(int32_t line) {
  if (line < 0)
    rt::raiseWith(rt::err::InvalidCall,
                  rt::errorText(rt::err::InvalidCall) + u"：行号不能为负数", u"LineNumber");
  lineCount_ = line;
}

int32_t ScriptHost::execLine(std::u16string_view s) {
  requireIdle();
  if (ended_) return errCode_;
  rt::Ref<ScriptHost> keep(this);  // a handler or the script may let go of the host
  if (space_) space_->setRunStop(false);
  // Past the largest number every line is numbered with it.
  if (lineCount_ < std::numeric_limits<int32_t>::max()) ++lineCount_;
  const int32_t number = lineCount_;
  if (s.empty()) return errCode_;
  errString_ = lineContext(number);
  error_.clear();
  if (root_) root_->error().clear();
  if (dispatcher_) dispatcher_->error().clear();
  try {
    return takeLine(s, number);
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, kExecLine);
  } catch (const std::bad_alloc&) {
    error_.trapOutOfMemory(kExecLine);
  }
  return -1;
}

// A line ending in " _" continues on the next: the statement is taken
// when a line does not, with one blank where each line break was.
int32_t ScriptHost::takeLine(std::u16string_view s, int32_t number) {
  std::u16string text(engine::trimBlanks(engine::clearSptRem(s, inComment_)));
  if (text.ends_with(kContinuation)) {
    if (pending_.empty()) pendingLine_ = number;
    text.pop_back();
    pending_ += text;
    return errCode_;
  }
  std::u16string statement = std::move(pending_);
  pending_.clear();
  statement += text;
  if (statement.starts_with(u'#'))
    return directive(std::u16string_view(statement).substr(1), kExecLine) ? errCode_ : -1;
  rt::Ref<engine::ExpItems> items = rt::make<engine::ExpItems>();
  items->sptModeLine = number;
  if (items->init(statement)) {
    error_.copy(items->error(), kExecLine);
    return -1;
  }
  if (items->empty()) return errCode_;  // a blank or comment-only line
  if (defines_ && !engine::expandDefines(*items, engine::definesOf(*defines_))) {
    error_.copy(items->error(), kExecLine);
    return -1;
  }
  return takeStatement(std::move(items), statement);
}

// While a definition is open every line goes into it, whatever a block of
// the dispatcher is doing.
int32_t ScriptHost::takeStatement(rt::Ref<engine::ExpItems> items, const std::u16string& text) {
  if (droppingDefinition_) {
    const int32_t first = items->item(1).iType;
    if (first == tok::EndSub || first == tok::EndFunction) {
      droppingDefinition_ = false;
      return errCode_ = 0;
    }
    return errCode_ = SvUserFun::LineTaken;
  }
  if (definition_) return continueDefinition(*items);
  if (opensDefinition(*items)) return startDefinition(std::move(items), text);
  if (!dispatch(std::move(items))) {
    recordLineError(dispatcher_->error().info(), {});
    return -1;
  }
  return errCode_ = dispatcher_->state();
}

// A header that is refused (Sub without brackets, say) is reported with
// its line, and the lines up to its End line are dropped: they are never
// run as lines of their own.
int32_t ScriptHost::startDefinition(rt::Ref<engine::ExpItems> items, const std::u16string& text) {
  rt::Ref<SvUserFun> fun = rt::make<SvUserFun>();
  definitionLine_ = items->sptModeLine;
  definitionKeyword_ = items->item(1).iType;
  errCode_ = SvUserFun::LineTaken;
  if (fun->addLine(*items) == SvUserFun::AddFailed) {
    droppingDefinition_ = true;
    recordLineError(fun->error(), u"：" + text);
    return -1;
  }
  definition_ = fun;
  return errCode_;
}

int32_t ScriptHost::continueDefinition(engine::ExpItems& items) {
  const int32_t r = definition_->addLine(items);
  if (r == SvUserFun::AddFailed) {
    error_.copy(definition_->error(), kExecLine);
    return -1;
  }
  errCode_ = r;
  if (r != SvUserFun::DefinitionComplete) return r;
  rt::Ref<SvUserFun> fun = std::move(definition_);
  definition_ = nullptr;
  if (!space_) rt::raise(rt::err::ObjectNotSet);
  space_->setValue(fun->name(), fun.get());
  return errCode_ = 0;
}

bool ScriptHost::dispatch(rt::Ref<engine::ExpItems> items) {
  if (!space_ || !dispatcher_) rt::raise(rt::err::ObjectNotSet);
  rt::Ref<Line> line = rt::make<Line>(std::move(items));
  rt::Ref<zorbel::ScriptSpace> space = space_;
  {
    HostRunning running(running_, ended_);
    engine::ActiveSpace active(space.get());  // `x = F` runs F in this space
    dispatcher_->execute(*space, *line);
  }
  return !dispatcher_->error().haveErr();
}

void ScriptHost::recordLineError(jespin::IErrInfo& e, const std::u16string& detail) {
  jespin::IErrInfo& rec = error_.info();
  rec.setNumber(e.number());
  rec.setDescription(errString_ + e.description() + detail);
  rec.setSource(std::u16string(kExecLine) + u"\r\n" + e.source());
}

bool ScriptHost::directive(std::u16string_view text, std::u16string_view operation) {
  engine::DirectiveTarget target;
  target.defines = defines_.get();
  target.space = space_.get();
  target.include = [this](const std::u16string& file) { events_.includeFile(this, file); };
  target.error = &error_;
  target.operation = operation;
  return engine::runDirective(text, target);
}

int32_t ScriptHost::execEnd() {
  requireIdle();
  error_.clear();
  // What is left open, the one opened first reported.
  struct Unfinished {
    int32_t line = 0;
    int32_t code = 0;
    std::u16string what;
  } first;
  auto consider = [&first](int32_t line, int32_t code, std::u16string what) {
    if (first.code == 0 || line < first.line) first = Unfinished{line, code, std::move(what)};
  };
  if (!pending_.empty())
    consider(pendingLine_, engine::ErrSyntax,
             u"第 " + rt::ascii(std::to_string(pendingLine_)) + u" 行以“ _”续行，其后没有下一行");
  if (definition_ || droppingDefinition_)
    consider(definitionLine_, engine::ErrFunctionHeader,
             engine::missingCloser(definitionKeyword_, definitionLine_));
  if (const OpenStatement* open = dispatcher_ ? dispatcher_->open() : nullptr)
    consider(open->openingLine(), open->kind().syntaxError,
             engine::missingCloser(open->opener(), open->openingLine()));
  pending_.clear();
  definition_ = nullptr;
  droppingDefinition_ = false;
  inComment_ = false;
  if (dispatcher_) dispatcher_->dropOpen();
  errCode_ = 0;
  if (first.code == 0) return errCode_;
  jespin::IErrInfo& rec = error_.info();
  rec.setNumber(engine::errNumber(first.code));
  rec.setDescription(lineContext(first.line) + engine::resText(first.code) + u"：" + first.what);
  rec.setSource(u"ExecEnd");
  return -1;
}

void ScriptHost::freeAll() {
  requireIdle();
  rt::Ref<ScriptHost> keep(this);
  // What the scripts bound is unbound first: a cycle through a variable
  // would keep it.
  engine::unbindAllIn(space_.get());
  engine::unbindAllIn(root_.get());
  space_ = nullptr;
  root_ = nullptr;
  defines_ = nullptr;
  dispatcher_.reset();
  definition_ = nullptr;
  droppingDefinition_ = false;
  pending_.clear();
}

void ScriptHost::refreshSSP() {
  requireIdle();
  rt::Ref<engine::SsBody> body = rt::make<engine::SsBody>();
  body->setParent(root_.get());
  space_ = body;
}

// --- compiled streams -------------------------------------------------------

void ScriptHost::execStream(nubrel::VStream& vs) {
  requireIdle();
  if (ended_) return;
  rt::Ref<ScriptHost> keep(this);
  if (space_) space_->setRunStop(false);
  error_.clear();
  if (root_) root_->error().clear();
  if (dispatcher_) dispatcher_->error().clear();
  try {
    readRecords(vs);
  } catch (const std::bad_alloc&) {
    error_.trapOutOfMemory(kExecStream);
  }
}

// Each record runs as it is read; the lines of a block statement are
// gathered by the dispatcher record by record, as lines are.  The stream
// is tested for its end before each record, so a stream cut short or
// spoilt ends the run with an error instead of reading on.  A directive
// that fails raises.
void ScriptHost::readRecords(nubrel::VStream& vs) {
  while (!ended_) {
    int32_t kind;
    std::u16string text;
    try {
      requireMore(vs);
      kind = vs.vLong();
      if (kind < 0) return;
      requireMore(vs);
      if (kind == engine::RecordDirective) {
        text = vs.vString();
        requireMore(vs);
      } else if (kind == engine::RecordFunction) {
        takeStreamFunction(vs);
        continue;
      } else if (kind != engine::RecordLine) {
        rt::raise(kBadFileFormat);
      }
    } catch (const rt::RuntimeError& e) {
      error_.trap(e, kExecStream);
      return;
    }
    if (kind == engine::RecordDirective) {
      if (!directive(text, kExecStream)) return;
    } else if (!takeStreamLine(vs)) {
      return;
    }
  }
}

// A whole line record runs before the stream is read on: one cut short
// after it still ran it.
bool ScriptHost::takeStreamLine(nubrel::VStream& vs) {
  rt::Ref<engine::ExpItems> items = rt::make<engine::ExpItems>();
  try {
    items->readStream(vs);
    lineCount_ = std::max(items->sptModeLine, 0);  // a spoilt stream's number is no count
    if (defines_ && !engine::expandDefines(*items, engine::definesOf(*defines_))) {
      error_.copy(items->error(), kExecStream);
      return false;
    }
    if (!dispatch(items)) {
      error_.copy(dispatcher_->error(), kExecStream);
      return false;
    }
    errCode_ = dispatcher_->state();
    requireMore(vs);
    return true;
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, kExecStream);
  }
  return false;
}

void ScriptHost::takeStreamFunction(nubrel::VStream& vs) {
  rt::Ref<SvUserFun> fun = rt::make<SvUserFun>();
  fun->readStream(vs, defines_ ? engine::definesOf(*defines_) : engine::DefineLookup());
  requireMore(vs);
  if (!space_) rt::raise(rt::err::ObjectNotSet);
  space_->setValue(fun->name(), fun.get());
}

}  // namespace dovrel
