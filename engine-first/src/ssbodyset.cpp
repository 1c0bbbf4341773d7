// Set in a body space, as the first edition binds: a name that an outer
// space has is always bound there, over a local, a parameter or a result
// slot of this space.  So a function's "Set o = ..." rebinds the caller's
// o whenever the caller (or its caller) has one.
#include "builtins/svgeneral.h"
#include "core/ssbody.h"
#include "rt/stack.h"

namespace engine {

// The outer space decides first, by the same rule, so the binding lands in
// the outermost space that has the name.  Here: a result slot takes the
// object itself (it stays the function's result); any other local is
// replaced; no object binds a variable holding the Integer 0.
void SsBody::setValue(std::u16string_view name, zorbel::ScriptValue* v) {
  rt::Ref<zorbel::ScriptValue> keep(v);
  if (parent_) {
    rt::stack::check();
    if (parent_->existValue(name)) {
      parent_->setValue(name, v ? setBinding(*this, name, v).get() : nullptr);
      return;
    }
  }
  zorbel::ScriptValue* current = local(name);
  if (current) {
    if (auto* slot = static_cast<Rebindable*>(current->query(Rebindable::iid))) {
      slot->rebind(v);
      return;
    }
  }
  rt::Ref<zorbel::ScriptValue> bound;
  if (v) {
    bound = setBinding(*this, name, v);
  } else {
    bound = SvGeneral::holding(rt::Variant(int16_t{0}));
    bound->setKey(name);
  }
  if (current) rebind(name, bound.get());
  else bindUnderKey(bound.get());
}

}  // namespace engine
