// The keyed value list of the system, as other libraries see it.
//
// `IVValues` is an ordered list of `IVValue` elements, positions from 1, each
// filed without a key or under a text key unique without regard to case.  A
// key is fixed when its element is filed: changing the element's `key`
// property later re-files it only when the element is moved.  For Each runs
// over the elements in order (rt::enumeratorOf).
//
// Listeners hear additions, removals and clearing before they happen and may
// change the arguments or cancel; they hear a value change of an element
// afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/activation.h"
#include "rt/enumerator.h"
#include "rt/object.h"
#include "rt/variant.h"

namespace jespin {

// One element: a value of any kind, with a key and a free tag.
class IVValue : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.IVValue");
  static constexpr rt::Guid clsid = rt::classIdOf("Jespin.VValue");

  // Set by every assignment of Value or Str.
  virtual bool dataChanged() const = 0;
  virtual void setDataChanged(bool changed) = 0;
  // key "=" Value as text; raises when Value has no text form.
  virtual std::u16string str() const = 0;
  // key := the text before the first "=", Value := the text after it (the
  // whole text and "" when there is none).  Announces nothing.
  virtual void setStr(std::u16string_view text) = 0;
  virtual std::u16string key() const = 0;
  virtual void setKey(std::u16string_view key) = 0;
  // The held value: an object reference when it holds an object.
  virtual rt::Variant value() const = 0;
  // Value let: a copy of the plain value (an object gives its default value).
  virtual void letValue(const rt::Variant& value) = 0;
  // Value set: an object reference (nullptr is Nothing).
  virtual void setValue(rt::Object* object) = 0;
  virtual std::u16string tag() const = 0;
  virtual void setTag(std::u16string_view tag) = 0;
  // The list the element is filed in, or nothing when it is in none.
  virtual rt::Ref<rt::Object> parent() const = 0;
};

// The events of a VValues.  Every handler has an empty default.
class VValuesEvents : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.VValuesEvents");
  // Before an element is created: may change the value or the key, or cancel.
  virtual void add(rt::Variant& value, std::u16string& key, bool& cancel) {}
  // Before an element is removed: may change which one, or cancel.
  virtual void remove(rt::Variant& index, bool& cancel) {}
  virtual void clear(bool& cancel) {}
  // After the value of an element of the list has changed.
  virtual void valueChanged(IVValue& vv) {}
};

class IVValues : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.IVValues");
  static constexpr rt::Guid clsid = rt::classIdOf("Jespin.VValues");

  // Empties the list unless a listener cancels.
  virtual void clear() = 0;
  // True when an element is filed under `key` (case ignored).
  virtual bool exist(std::u16string_view key) const = 0;
  // The Str of every element joined with ";".
  virtual std::u16string listStr() const = 0;
  // Appends one element per ";"-separated piece, each read as its Str, with
  // no events.  A duplicate key raises 457 and ends the parse there.
  virtual void setListStr(std::u16string_view text) = 0;
  // Announces, then appends a new element under `key` (none when empty) with
  // the value; an object is held by reference.  Returns nothing when a
  // listener cancelled; a key already filed raises 457.  Listeners' changes
  // to the value and the key are written back into the arguments.
  virtual rt::Ref<IVValue> addByRef(rt::Variant& value, std::u16string& key) = 0;
  rt::Ref<IVValue> add(rt::Variant value, std::u16string key = {}) { return addByRef(value, key); }
  // The element at a position (a number, from 1) or under a key (a text).
  // A miss returns a new blank element whose Value is "", never an error.
  virtual rt::Ref<IVValue> item(const rt::Variant& index) = 0;
  virtual int32_t count() const = 0;
  // Announces, then removes the element `index` selects (a listener may
  // change `index`, and the change is written back); a miss raises 9 or 5.
  virtual void removeByRef(rt::Variant& index) = 0;
  void remove(rt::Variant index) { removeByRef(index); }
  // Takes the element `which` selects and files it again, under its current
  // key property, just before or after the element `beside` selects once it
  // is out.  On any failure the element stays where it was.
  virtual void moveToBefore(const rt::Variant& which, const rt::Variant& beside) = 0;
  virtual void moveToAfter(const rt::Variant& which, const rt::Variant& beside) = 0;

  // Returns a cookie for unadvise.
  virtual uint32_t advise(rt::Ref<VValuesEvents> sink) = 0;
  virtual void unadvise(uint32_t cookie) = 0;
};

}  // namespace jespin
