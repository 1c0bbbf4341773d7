// The keyed list of elements behind VValues, VStack and VQueue, and the
// pieces of their members that do not depend on which of them it is.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "rt/collection.h"
#include "rt/enumerator.h"
#include "rt/events.h"
#include "vvalue.h"

namespace jespin {

class ValueList {
 public:
  explicit ValueList(ListOwner& owner) : owner_(owner) {}
  ~ValueList();
  ValueList(const ValueList&) = delete;
  ValueList& operator=(const ValueList&) = delete;

  size_t count() const { return items_.count(); }
  bool empty() const { return items_.empty(); }
  bool exists(std::u16string_view key) const { return items_.exists(key); }

  // An index selects by position when it is a number (from 1) and by key
  // when it is a text.  `find` answers nothing on a miss; `get` and `take`
  // raise the collection's errors (9 for a position, 5 for a key).  Either
  // raises when the index converts to neither.
  rt::Ref<VValue> find(const rt::Variant& index);
  rt::Ref<VValue> get(const rt::Variant& index);
  rt::Ref<VValue> take(const rt::Variant& index);
  // By a position known to be in range (from 1).
  rt::Ref<VValue> at(size_t position) const { return items_.at(position).value; }
  rt::Ref<VValue> takeAt(size_t position);

  // Files a new element at the end, under `key` unless it is empty, then
  // assigns the value to it: an object by reference, anything else by copy.
  // A key already filed raises 457 and adds nothing.
  rt::Ref<VValue> append(const rt::Variant& value, std::u16string_view key);
  // Files an element at the end under its key property (none when empty).
  void file(const rt::Ref<VValue>& element);
  // Elements are released by the list, and unlinked.
  void clear();
  template <class Visit>
  void forEach(Visit visit) const {
    items_.forEach([&](const rt::Ref<VValue>& e) { visit(e.get()); });
  }
  // Takes out the element `which` selects and files it again, under its key
  // property, next to the element that `beside` selects once it is out.  On
  // any failure it goes back where it was under the key it had.
  void move(const rt::Variant& which, const rt::Variant& beside, bool after);

  // Walks the list as it is at each step; `holder` owns the list.
  rt::Ref<rt::Enumerator> enumerate(rt::Object& holder);

 private:
  struct Index {
    std::optional<std::u16string> key;
    int64_t position = 0;  // 0 when the number is out of any range
  };
  static Index readIndex(const rt::Variant& index);
  VValue* lookup(const Index& index);
  size_t positionOf(const Index& index) const;

  ListOwner& owner_;
  rt::KeyedList<rt::Ref<VValue>> items_;
};

// Raises a cancellable event: `announce(sink, cancel)` for every sink, with
// one Cancel that all of them see.  True when nobody cancelled.
template <class Sink, class F>
bool goesAhead(rt::EventSource<Sink>& events, rt::Object* source, F announce) {
  bool cancel = false;
  events.raise(source, [&](Sink& s) { announce(s, cancel); });
  return !cancel;
}

// The late-bound form of adding: (Value, [sKey]), both by reference, so a
// listener's changes reach the caller's variables (the key only when the
// caller's slot holds text).  `add(value, key)` returns the new element.
template <class F>
rt::Variant addFromSlots(std::span<rt::Variant> args, std::u16string_view member, F add) {
  if (args.empty() || args.size() > 2) rt::raise(rt::err::WrongArgumentCount, member);
  std::u16string key = args.size() > 1 ? rt::toText(args[1]) : std::u16string();
  rt::Ref<IVValue> element = add(args[0], key);
  if (args.size() > 1 && args[1].isText()) args[1] = rt::Variant(std::move(key));
  return rt::Variant(element);
}

}  // namespace jespin
