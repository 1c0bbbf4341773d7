// The stack of values (last in, first out), as other libraries see it.
//
// The same keyed list as IVValues (positions from 1, optional keys unique
// without regard to case), with no blank element for misses: position 1 is
// the bottom, position Count the top.  For Each runs from the bottom up
// (rt::enumeratorOf).  Listeners hear every change before it happens and may
// cancel it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jespin/values.h"

namespace jespin {

// The events of a VStack.  Every handler has an empty default.
class VStackEvents : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.VStackEvents");
  virtual void willPush(rt::Variant& value, std::u16string& key, bool& cancel) {}
  virtual void willPop(bool& cancel) {}
  virtual void willRemove(rt::Variant& index, bool& cancel) {}
  virtual void willClear(bool& cancel) {}
  virtual void valueChanged(IVValue& vv) {}
};

class IVStack : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.IVStack");
  static constexpr rt::Guid clsid = rt::classIdOf("Jespin.VStack");

  virtual void clear() = 0;
  virtual bool exist(std::u16string_view key) const = 0;
  // As IVValues::addByRef, on top of the stack.
  virtual rt::Ref<IVValue> pushByRef(rt::Variant& value, std::u16string& key) = 0;
  rt::Ref<IVValue> push(rt::Variant value, std::u16string key = {}) { return pushByRef(value, key); }
  // By position (a number) or key (a text); a miss raises 9 or 5.
  virtual rt::Ref<IVValue> item(const rt::Variant& index) = 0;
  virtual int32_t count() const = 0;
  // Takes the top element; nothing when the stack is empty or a listener
  // cancelled.
  virtual rt::Ref<IVValue> pop() = 0;
  virtual void removeByRef(rt::Variant& index) = 0;
  void remove(rt::Variant index) { removeByRef(index); }

  virtual uint32_t advise(rt::Ref<VStackEvents> sink) = 0;
  virtual void unadvise(uint32_t cookie) = 0;
};

}  // namespace jespin
