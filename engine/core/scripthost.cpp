#include "core/scripthost.h"

#include <memory>

#include "builtins/hostio.h"
#include "builtins/svconstant.h"
#include "builtins/svuserfun.h"
#include "core/bodygeneral.h"
#include "core/records.h"
#include "core/ssbody.h"
#include "core/ssroot.h"

namespace engine {

namespace {

constexpr std::u16string_view kExecStream = u"ExecStream";

template <class IO>
rt::Ref<zorbel::ScriptValue> hostIO(ScriptHost& sh, bool oneLine) {
  rt::Ref<IO> io = rt::make<IO>();
  io->init(&sh, oneLine);
  return io;
}

// The names the root space starts with, bound in this order.
struct Builtin {
  std::u16string_view name;
  rt::Ref<zorbel::ScriptValue> (*make)(ScriptHost& sh);
};

const Builtin kBuiltins[] = {
    {u"ScriptHost", [](ScriptHost& sh) -> rt::Ref<zorbel::ScriptValue> {
       return rt::make<SvHostValue>(u"ScriptHost", sh.link());
     }},
    // TODO(objects): "New" (SvNew) is bound here once object creation exists.
    {u"Nothing", [](ScriptHost&) -> rt::Ref<zorbel::ScriptValue> {
       return rt::make<SvConstant>(u"Nothing", rt::Variant(nullptr));
     }},
    // TODO(objects): "CreateObject" (SvCreateObj) is bound here once object
    // creation exists.
    {u"Print", [](ScriptHost& sh) { return hostIO<SvOutput>(sh, false); }},
    {u"OutPut", [](ScriptHost& sh) { return hostIO<SvOutput>(sh, false); }},
    {u"OutLine", [](ScriptHost& sh) { return hostIO<SvOutput>(sh, true); }},
    {u"Input", [](ScriptHost& sh) { return hostIO<SvInput>(sh, true); }},
    {u"GetChar", [](ScriptHost& sh) { return hostIO<SvInput>(sh, false); }},
};

// What a stream that holds a record of no known kind ends the run with.
constexpr int32_t kBadFileFormat = 321;

// Every record but the end one is followed by more: a stream found at its
// end after reading one was cut short.  (A memory stream is at its end once
// its last value is read, a file stream once a read has run past the end,
// so this is tested after each read.)
void requireMore(nubrel::VStream& vs) {
  if (vs.eof()) rt::raise(rt::err::PastEndOfFile);
}

template <class I>
rt::Ref<I> created() {
  return rt::queryRef<I>(rt::createInstance(I::clsid).get());
}

}  // namespace

const rt::MemberTable<ScriptHost>& ScriptHost::members() {
  using VS = rt::Ref<nubrel::VStream>;
  static const auto table =
      rt::MemberTable<ScriptHost>(u"ScriptHost")
          .get(u"Defines", [](ScriptHost& h) { return h.defines(); })
          .set(u"Defines", [](ScriptHost& h, rt::Ref<jespin::IVValues> d) { h.setDefines(d.get()); })
          .prop(u"RunStop", &ScriptHost::runStop, &ScriptHost::setRunStop)
          .method(u"ExecStream",
                  [](ScriptHost& h, VS vs) {
                    if (!vs) rt::raise(rt::err::ObjectNotSet);
                    h.execStream(*vs);
                  })
          .method(u"FreeAll", &ScriptHost::freeAll)
          .method(u"RefreshSSP", &ScriptHost::refreshSSP)
          .get(u"SSpace", [](ScriptHost& h) { return h.sSpace(); })
          .get(u"Error", [](ScriptHost& h) { return rt::Ref<jespin::IErrInfo>(&h.error()); });
  return table;
}

ScriptHost::ScriptHost()
    : error_(u"ScriptHost"),
      link_(rt::make<HostLink>(*this)),
      root_(rt::make<SsRoot>()),
      defines_(created<jespin::IVValues>()) {}

ScriptHost::~ScriptHost() { link_->cut(); }

rt::Ref<ScriptHost> ScriptHost::create() {
  rt::Ref<ScriptHost> h(new ScriptHost());
  h->bindBuiltins();
  h->refreshSSP();
  return h;
}

void ScriptHost::bindBuiltins() {
  for (const Builtin& b : kBuiltins) root_->setValue(b.name, b.make(*this).get());
}

bool ScriptHost::runStop() {
  if (!space_) rt::raise(rt::err::ObjectNotSet);
  return space_->runStop();
}

void ScriptHost::setRunStop(bool stop) {
  if (!space_) rt::raise(rt::err::ObjectNotSet);
  space_->setRunStop(stop);
}

void ScriptHost::freeAll() {
  space_ = nullptr;
  root_ = nullptr;
  defines_ = nullptr;
}

void ScriptHost::refreshSSP() {
  rt::Ref<SsBody> body = rt::make<SsBody>();
  body->setParent(root_.get());
  space_ = body;
}

uint32_t ScriptHost::advise(rt::Ref<kestrin::ScriptHostEvents> sink) {
  if (!sink) rt::raise(rt::err::ObjectNotSet);
  return events_.advise(std::move(sink));
}

std::u16string ScriptHost::raiseInputLine() {
  std::u16string buf;
  events_.raise(this, [&](kestrin::ScriptHostEvents& s) { s.inputLine(buf); });
  return buf;
}

int16_t ScriptHost::raiseInputChar() {
  int16_t code = 0;
  events_.raise(this, [&](kestrin::ScriptHostEvents& s) { s.inputChar(code); });
  return code;
}

void ScriptHost::raiseOutput(std::u16string_view s) {
  if (events_.empty()) return;
  const std::u16string text(s);
  events_.raise(this, [&](kestrin::ScriptHostEvents& sink) { sink.output(text); });
}

void ScriptHost::raiseOutErr(std::u16string_view s) {
  const std::u16string text(s);
  events_.raise(this, [&](kestrin::ScriptHostEvents& sink) { sink.outErr(text); });
}

DefineLookup ScriptHost::defineLookup() {
  if (!defines_) return [](std::u16string_view) -> const ExpItems* { return nullptr; };
  return definesOf(*defines_);
}

bool ScriptHost::expandDefines(ExpItems& items) { return expandOnce(items, defineLookup()) != 0; }

// Statements between two directives form one block: built completely, then
// run.  The stream is tested for its end before each record, so a stream
// cut short or spoilt ends the run with an error instead of reading on.
void ScriptHost::execStream(nubrel::VStream& vs) {
  if (!space_ || !root_) rt::raise(rt::err::ObjectNotSet);
  rt::Ref<ScriptHost> keep(this);  // a handler or the script may let go of the host
  space_->setRunStop(false);
  error_.clear();
  root_->error().clear();

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
      error_.trap(e, kExecStream);
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
        error_.trap(e, kExecStream);
        return;
      }
      if (!preExecLine(text)) return;
    } else if (kind == RecordFunction) {
      if (!takeFunction(vs)) return;
    } else {
      if (kind >= 0) {
        error_.trap(rt::RuntimeError(kBadFileFormat), kExecStream);
        return;
      }
      if (hasLines) runBlock(*block);
      return;
    }
  }
}

bool ScriptHost::takeLine(nubrel::VStream& vs, BodyGeneral& block, ExpItems& items) {
  try {
    items.clear();
    items.readStream(vs);
    requireMore(vs);
    if (defines_ && !engine::expandDefines(items, definesOf(*defines_))) {
      error_.copy(items.error(), kExecStream);
      return false;
    }
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, kExecStream);
    return false;
  }
  block.addCode(items);
  if (!block.error().haveErr()) return true;
  error_.copy(block.error(), kExecStream);
  return false;
}

bool ScriptHost::runBlock(BodyGeneral& block) {
  rt::Ref<zorbel::ScriptSpace> space = space_;  // the block may replace the host's
  if (!space) {  // the script or a handler freed the host
    error_.trap(rt::RuntimeError(rt::err::ObjectNotSet), kExecStream);
    return false;
  }
  block.execute(*space);
  if (!block.error().haveErr()) return true;
  error_.copy(block.error(), kExecStream);
  return false;
}

bool ScriptHost::takeFunction(nubrel::VStream& vs) {
  try {
    rt::Ref<SvUserFun> fun = rt::make<SvUserFun>();
    fun->readStream(vs, defineLookup());
    requireMore(vs);
    // TODO(functions): bind the function in the top-level space under its
    // name once user functions can be called.
    rt::raise(rt::err::Internal, u"Sub and Function definitions are not built yet");
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, kExecStream);
    return false;
  }
}

}  // namespace engine
