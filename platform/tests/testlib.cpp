// A library for the activation tests: the entry points over a working class,
// a class whose creation yields nothing and one whose creation raises.
#include "rt/dispatch.h"
#include "rt/library.h"

namespace {

class Thing final : public rt::Automation<Thing> {
 public:
  static const rt::MemberTable<Thing>& members() {
    static const auto table = rt::MemberTable<Thing>(u"Thing").get(u"Answer", &Thing::answer);
    return table;
  }
  int32_t answer() const { return 42; }
};

rt::Ref<rt::Object> createThing() { return rt::make<Thing>(); }
rt::Ref<rt::Object> createNothing() { return nullptr; }
rt::Ref<rt::Object> createRaising() { rt::raise(rt::err::InvalidCall, u"refused on purpose"); }

const rt::ClassEntry kClasses[] = {
    {"ZubTest.Thing", rt::classIdOf("ZubTest.Thing"), &createThing},
    {"ZubTest.Nothing", rt::classIdOf("ZubTest.Nothing"), &createNothing},
    {"ZubTest.Raising", rt::classIdOf("ZubTest.Raising"), &createRaising},
};

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
