#include "core/scripthost.h"

#include "core/ownclasses.h"
#include "core/rootnames.h"
#include "core/ssbody.h"
#include "core/space.h"
#include "core/ssroot.h"

namespace engine {

const rt::MemberTable<ScriptHost>& ScriptHost::members() {
  static const auto table =
      hostMembers<ScriptHost>(u"ScriptHost")
          .method(u"RefreshSSP", &ScriptHost::refreshSSP)
          .get(u"SSpace", [](ScriptHost& h) { return h.sSpace(); })
          .get(u"Error", [](ScriptHost& h) { return rt::Ref<jespin::IErrInfo>(&h.error()); });
  return table;
}

ScriptHost::ScriptHost()
    : StreamHost(u"ScriptHost"), link_(rt::make<HostLink>(*this)), root_(rt::make<SsRoot>()) {
  defines_ = created<jespin::IVValues>();
}

ScriptHost::~ScriptHost() { link_->cut(); }

rt::Ref<ScriptHost> ScriptHost::create() {
  rt::Ref<ScriptHost> h(new ScriptHost());
  h->bindBuiltins();
  h->refreshSSP();
  return h;
}

void ScriptHost::bindBuiltins() { bindRootNames(*root_, *this); }

bool ScriptHost::runStop() {
  if (!space_) rt::raise(rt::err::ObjectNotSet);
  return space_->runStop();
}

void ScriptHost::setRunStop(bool stop) {
  if (!space_) rt::raise(rt::err::ObjectNotSet);
  space_->setRunStop(stop);
}

// What the scripts bound is unbound first: a cycle through a variable
// (a sub-host kept in one refers back to this host's space) would keep it.
void ScriptHost::freeAll() {
  unbindAllIn(space_.get());
  unbindAllIn(root_.get());
  space_ = nullptr;
  root_ = nullptr;
  defines_ = nullptr;
}

void ScriptHost::refreshSSP() {
  rt::Ref<SsBody> body = rt::make<SsBody>();
  body->setParent(root_.get());
  space_ = body;
}

std::u16string ScriptHost::raiseInputLine() { return events_.inputLine(this); }
int16_t ScriptHost::raiseInputChar() { return events_.inputChar(this); }
void ScriptHost::raiseOutput(std::u16string_view s) { events_.output(this, s); }
void ScriptHost::raiseOutErr(std::u16string_view s) { events_.outErr(this, s); }
void ScriptHost::raiseIncludeFile(const std::u16string& file) { events_.includeFile(this, file); }

void ScriptHost::execStream(nubrel::VStream& vs) {
  if (!space_ || !root_) rt::raise(rt::err::ObjectNotSet);
  rt::Ref<ScriptHost> keep(this);  // a handler or the script may let go of the host
  space_->setRunStop(false);
  error_.clear();
  root_->error().clear();
  runStream(vs);
}

}  // namespace engine
