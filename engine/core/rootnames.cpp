#include "core/rootnames.h"

#include <string_view>

#include "builtins/hostio.h"
#include "builtins/svconstant.h"
#include "builtins/svcreate.h"

namespace engine {

namespace {

template <class IO>
rt::Ref<zorbel::ScriptValue> hostIO(HostChannel& host, bool oneLine) {
  rt::Ref<IO> io = rt::make<IO>();
  io->init(&host, oneLine);
  return io;
}

struct RootName {
  std::u16string_view name;
  rt::Ref<zorbel::ScriptValue> (*make)(HostChannel& host);
};

const RootName kRootNames[] = {
    {u"ScriptHost", [](HostChannel& h) -> rt::Ref<zorbel::ScriptValue> {
       return rt::make<SvHostValue>(u"ScriptHost", h.link());
     }},
    {u"New", [](HostChannel&) -> rt::Ref<zorbel::ScriptValue> { return rt::make<SvNew>(); }},
    {u"Nothing", [](HostChannel&) -> rt::Ref<zorbel::ScriptValue> {
       return rt::make<SvConstant>(u"Nothing", rt::Variant(nullptr));
     }},
    {u"CreateObject",
     [](HostChannel&) -> rt::Ref<zorbel::ScriptValue> { return rt::make<SvCreateObj>(); }},
    {u"Print", [](HostChannel& h) { return hostIO<SvOutput>(h, false); }},
    {u"OutPut", [](HostChannel& h) { return hostIO<SvOutput>(h, false); }},
    {u"OutLine", [](HostChannel& h) { return hostIO<SvOutput>(h, true); }},
    {u"Input", [](HostChannel& h) { return hostIO<SvInput>(h, true); }},
    {u"GetChar", [](HostChannel& h) { return hostIO<SvInput>(h, false); }},
};

}  // namespace

void bindRootNames(zorbel::ScriptSpace& root, HostChannel& host) {
  for (const RootName& r : kRootNames) root.setValue(r.name, r.make(host).get());
}

}  // namespace engine
