#include "builtins/svconstant.h"

namespace engine {

const rt::MemberTable<SvConstant>& SvConstant::members() {
  static const rt::MemberTable<SvConstant> table{u"SvConstant"};
  return table;
}

}  // namespace engine
