// Set in a body space, as the second edition binds: the innermost space
// that has the name takes the rebinding.
#include "core/ssbody.h"

namespace engine {

// Set rebinds a name; it never changes the value the name stood for, which
// other names and by-reference parameters may share.  A local is rebound in
// place (a result slot takes the new value itself); a name that is not
// local is rebound where an ancestor has it, else bound here.  Null, from
// an embedding program, unbinds.
void SsBody::setValue(std::u16string_view name, zorbel::ScriptValue* v) {
  rt::Ref<zorbel::ScriptValue> keep(v);
  if (zorbel::ScriptValue* current = local(name)) {
    if (auto* slot = static_cast<Rebindable*>(current->query(Rebindable::iid))) {
      slot->rebind(v);
      return;
    }
    if (!v) unbind(name);
    else rebind(name, setBinding(*this, name, v).get());
    return;
  }
  if (!v || (v->flag() != zorbel::FlagCall && parent_ && parent_->existValue(name))) {
    // Unbinding a name that is not local unbinds it where it is bound.
    if (!parent_) return;
    if (v) parent_->setValue(name, setBinding(*this, name, v).get());
    else if (parent_->existValue(name)) parent_->setValue(name, nullptr);
    return;
  }
  bindUnderKey(setBinding(*this, name, v).get());
}

}  // namespace engine
