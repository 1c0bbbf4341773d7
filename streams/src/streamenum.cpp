#include "streamenum.h"

namespace nubrel {

const rt::MemberTable<StreamEnum>& StreamEnum::members() {
  static const auto table = rt::MemberTable<StreamEnum>(u"StreamEnum")
                                .get(u"OutStream", [](StreamEnum&) { return int32_t{OutStream}; })
                                .get(u"InStream", [](StreamEnum&) { return int32_t{InStream}; });
  return table;
}

}  // namespace nubrel
