#include "nullclasses.h"

#include "members.h"

namespace nubrel {

const rt::MemberTable<NullStream>& NullStream::members() {
  static const auto table = streamMembers<NullStream>(u"VStream");
  return table;
}

const rt::MemberTable<NullStreamEnable>& NullStreamEnable::members() {
  static const auto table = streamEnableMembers<NullStreamEnable>(u"StreamEnable");
  return table;
}

}  // namespace nubrel
