// The queue of values (first in, first out), as other libraries see it.
//
// The same keyed list as IVValues (positions from 1, optional keys unique
// without regard to case), with no blank element for misses: position 1 is
// the front, position Count the back.  For Each runs from front to back
// (rt::enumeratorOf).  Listeners hear every change before it happens and may
// cancel it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jespin/values.h"

namespace jespin {

// The events of a VQueue.  Every handler has an empty default.
class VQueueEvents : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.VQueueEvents");
  virtual void willPutIn(rt::Variant& value, std::u16string& key, bool& cancel) {}
  virtual void willGetOut(bool& cancel) {}
  virtual void willRemove(rt::Variant& index, bool& cancel) {}
  virtual void willClear(bool& cancel) {}
  virtual void valueChanged(IVValue& vv) {}
};

class IVQueue : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.IVQueue");
  static constexpr rt::Guid clsid = rt::classIdOf("Jespin.VQueue");

  virtual void clear() = 0;
  virtual bool exist(std::u16string_view key) const = 0;
  // As IVValues::addByRef, at the back of the queue.
  virtual rt::Ref<IVValue> putInByRef(rt::Variant& value, std::u16string& key) = 0;
  rt::Ref<IVValue> putIn(rt::Variant value, std::u16string key = {}) { return putInByRef(value, key); }
  // By position (a number) or key (a text); a miss raises 9 or 5.
  virtual rt::Ref<IVValue> item(const rt::Variant& index) = 0;
  virtual int32_t count() const = 0;
  // Takes the front element; nothing when the queue is empty or a listener
  // cancelled.
  virtual rt::Ref<IVValue> getOut() = 0;
  virtual void removeByRef(rt::Variant& index) = 0;
  void remove(rt::Variant index) { removeByRef(index); }

  virtual uint32_t advise(rt::Ref<VQueueEvents> sink) = 0;
  virtual void unadvise(uint32_t cookie) = 0;
};

}  // namespace jespin
