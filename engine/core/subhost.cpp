#include "core/subhost.h"

#include "core/ssbody.h"

namespace engine {

const rt::MemberTable<SubHost>& SubHost::members() {
  static const auto table =
      hostMembers<SubHost>(u"SubHost")
          .method(u"InitRoot",
                  [](SubHost& h, rt::Ref<kestrin::IScriptHost> root) { h.initRoot(root.get()); })
          .get(u"SSpace", [](SubHost& h) { return h.sSpace(); })
          .get(u"Error", [](SubHost& h) { return rt::Ref<jespin::IErrInfo>(&h.error()); });
  return table;
}

SubHost::SubHost() : StreamHost(u"SubHost") { space_ = rt::make<SsBody>(); }
SubHost::~SubHost() = default;

void SubHost::initRoot(kestrin::IScriptHost* rootHost) {
  if (!rootHost || !space_) rt::raise(rt::err::ObjectNotSet);
  rt::Ref<zorbel::ScriptSpace> top = rootHost->sSpace();
  if (!top) rt::raise(rt::err::ObjectNotSet);  // a host after FreeAll
  root_ = rootHost;
  space_->setParent(top.get());
  defines_ = rootHost->defines();
}

void SubHost::freeAll() {
  unbindAllIn(space_.get());
  space_ = nullptr;
}

bool SubHost::runStop() {
  if (!space_) rt::raise(rt::err::ObjectNotSet);
  return space_->runStop();
}

void SubHost::setRunStop(bool stop) {
  if (!space_) rt::raise(rt::err::ObjectNotSet);
  space_->setRunStop(stop);
}

void SubHost::execStream(nubrel::VStream& vs) {
  if (!space_ || !root_) rt::raise(rt::err::ObjectNotSet);
  rt::Ref<SubHost> keep(this);  // a handler or the script may let go of it
  space_->setRunStop(false);
  error_.clear();
  runStream(vs);
}

uint32_t SubHost::advise(rt::Ref<kestrin::SubHostEvents> sink) {
  if (!sink) rt::raise(rt::err::ObjectNotSet);
  return events_.advise(std::move(sink));
}

void SubHost::raiseIncludeFile(const std::u16string& file) {
  events_.raise(this, [&](kestrin::SubHostEvents& s) { s.includeFile(file); });
}

}  // namespace engine
