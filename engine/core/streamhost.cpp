#include "core/streamhost.h"

#include <memory>
#include <new>

#include "builtins/svuserfun.h"
#include "core/bodygeneral.h"
#include "core/callstack.h"
#include "core/compoundbodies.h"
#include "core/directives.h"
#include "core/records.h"

namespace engine {

namespace {

constexpr std::u16string_view kExecStream = u"ExecStream";

}  // namespace

StreamHost::StreamHost(std::u16string_view module) : error_(module) {}
StreamHost::~StreamHost() = default;

DefineLookup StreamHost::defineLookup() {
  if (!defines_) return [](std::u16string_view) -> const ExpItems* { return nullptr; };
  return definesOf(*defines_);
}

bool StreamHost::expandDefines(ExpItems& items) {
  return defines_ && expandOnce(items, defineLookup()) != 0;
}

// A failure's place is kept; a raised failure (a directive's) leaves it
// to whoever handles it.
void StreamHost::runStream(nubrel::VStream& vs) {
  failedAt_ = Place{};
  SourceRun run(source_);
  try {
    readRecords(vs);
  } catch (const std::bad_alloc&) {
    error_.trapOutOfMemory(kExecStream);
  }
  if (error_.haveErr()) failedAt_ = running;
  run.endedWell();  // the failure is handed over with the record
}

void StreamHost::streamFailed(const rt::RuntimeError& e) {
  running.line = 0;
  error_.trap(e, kExecStream);
}

bool StreamHost::preExecLine(std::u16string_view text) {
  DirectiveTarget target;
  target.defines = defines_.get();
  target.space = space_.get();
  target.include = [this](const std::u16string& file) { raiseIncludeFile(file); };
  target.error = &error_;
  target.operation = kExecStream;
  return runDirective(text, target);
}

// Statements between two directives form one block: built completely, then
// run.  The stream is tested for its end before each record, so a stream
// cut short or spoilt ends the run with an error instead of reading on.
void StreamHost::readRecords(nubrel::VStream& vs) {
  auto block = std::make_unique<BodyGeneral>();
  rt::Ref<ExpItems> items = rt::make<ExpItems>();
  bool hasLines = false;
  for (;;) {
    int32_t kind;
    try {
      requireMore(vs);
      kind = vs.vLong();
      if (kind >= 0) requireMore(vs);
    } catch (const rt::RuntimeError& e) {
      streamFailed(e);
      return;
    }
    if (kind == RecordLine) {
      if (!takeLine(vs, *block, *items)) return;
      hasLines = true;
    } else if (kind == RecordDirective) {
      if (hasLines && !runBlock(*block)) return;
      block = std::make_unique<BodyGeneral>();
      hasLines = false;
      std::u16string text;
      try {
        text = vs.vString();
        requireMore(vs);
      } catch (const rt::RuntimeError& e) {
        streamFailed(e);
        return;
      }
      running.line = 0;  // a directive's record has no line
      if (!preExecLine(text)) return;
    } else if (kind == RecordFunction) {
      if (!takeFunction(vs)) return;
    } else {
      if (kind >= 0) {
        streamFailed(rt::RuntimeError(kBadFileFormat));
        return;
      }
      if (hasLines) runBlock(*block);
      return;
    }
  }
}

bool StreamHost::takeLine(nubrel::VStream& vs, BodyGeneral& block, ExpItems& items) {
  try {
    items.clear();
    items.readStream(vs);
    requireMore(vs);
    if (defines_ && !engine::expandDefines(items, definesOf(*defines_))) {
      error_.copy(items.error(), kExecStream);
      return false;
    }
  } catch (const rt::RuntimeError& e) {
    streamFailed(e);
    return false;
  }
  running.line = items.sptModeLine;
  block.addCode(items);
  if (!block.error().haveErr()) return true;
  error_.copy(block.error(), kExecStream);
  return false;
}

bool StreamHost::runBlock(BodyGeneral& block) {
  try {
    requireAllClosed(block, u"AddCode");
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, kExecStream);
    return false;
  }
  rt::Ref<zorbel::ScriptSpace> space = space_;  // the block may replace the host's
  if (!space) {  // the script or a handler freed the host
    error_.trap(rt::RuntimeError(rt::err::ObjectNotSet), kExecStream);
    return false;
  }
  {
    ActiveSpace active(space.get());
    block.execute(*space);
  }
  if (!block.error().haveErr()) return true;
  error_.copy(block.error(), kExecStream);
  return false;
}

// The function is bound as soon as its record is read, so the statements of
// the block being gathered can call it even before its definition.
bool StreamHost::takeFunction(nubrel::VStream& vs) {
  try {
    rt::Ref<SvUserFun> fun = rt::make<SvUserFun>();
    fun->readStream(vs, defineLookup());
    fun->setSource(running.source);
    requireMore(vs);
    if (!space_) rt::raise(rt::err::ObjectNotSet);
    space_->setValue(fun->name(), fun.get());
    return true;
  } catch (const rt::RuntimeError& e) {
    streamFailed(e);
    return false;
  }
}

}  // namespace engine
