// Late binding: calling an object's members by name.
//
// Every public class answers `Dispatch`.  A call names a member (case-blind)
// and one or more call kinds: method 1, property get 2, property let 4,
// property set 8.  Arguments come in call order; a member that takes an
// argument by reference writes the new value into its slot, and a caller that
// passed a variable reads it back from there.
//
// Classes describe their members once, in a `MemberTable` built from ordinary
// C++ member functions: the table converts the arguments to the parameter
// types, checks their number (450) and wraps the result.
#pragma once

#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "rt/api.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/object.h"
#include "rt/text.h"
#include "rt/variant.h"

namespace rt {

enum CallKind : int { Method = 1, PropGet = 2, PropLet = 4, PropSet = 8 };

using DispId = int32_t;
constexpr DispId kDispUnknown = -1;
constexpr DispId kDispValue = 0;     // the default member
constexpr DispId kDispNewEnum = -4;  // the enumerator, for For Each

class Dispatch : public virtual Object {
 public:
  static constexpr Iid iid = guidOf("rt.Dispatch");

  // The ID of a member, or kDispUnknown.
  virtual DispId memberId(std::u16string_view name) = 0;
  // What stands for this object's set of member IDs: two objects that answer
  // the same non-null value give every name the same ID.  Null when IDs may
  // differ from object to object.
  virtual const void* memberSet() { return nullptr; }
  // Calls member `id` with one of `kinds`; raises 438 when the member has
  // none of them and 450 on a wrong argument count.
  virtual Variant invoke(DispId id, int kinds, std::span<Variant> args) = 0;
  // The class name, as TypeName shows it.
  virtual std::u16string typeName() = 0;
};

// Calls `name` on `o`: 91 when `o` is nothing, 438 when it has no such member
// or no Dispatch at all.
RT_API Variant callByName(Object* o, std::u16string_view name, int kinds,
                          std::span<Variant> args = {});
RT_API Variant callDefault(Object* o, int kinds, std::span<Variant> args = {});

// What a caller that names the same member again and again (a call site in a
// script) keeps of the name's ID: the member set it belongs to and the ID.
struct MemberSite {
  const void* set = nullptr;
  DispId id = kDispUnknown;
};
// callByName, reusing the ID `site` keeps while the object has the same
// member set, and keeping the one it finds.
RT_API Variant callAt(Object* o, std::u16string_view name, int kinds, std::span<Variant> args,
                      MemberSite& site);

inline Variant getProperty(Object* o, std::u16string_view name) {
  return callByName(o, name, PropGet | Method);
}
inline void letProperty(Object* o, std::u16string_view name, Variant value) {
  callByName(o, name, PropLet, std::span<Variant>(&value, 1));
}
inline void setProperty(Object* o, std::u16string_view name, Variant object) {
  callByName(o, name, PropSet, std::span<Variant>(&object, 1));
}
// TypeName of a value: the class name of an object, "Nothing", or the type.
RT_API std::u16string typeNameOfValue(const Variant& v);

// An object kept for many late-bound calls (an automation-object value):
// its Dispatch and member set are found once, when it is taken, so a call
// whose site keeps the member's ID goes straight to the member.
class HeldObject {
 public:
  void take(Object* o) {
    obj_ = o;
    dispatch_ = o ? static_cast<Dispatch*>(o->query(Dispatch::iid)) : nullptr;
    set_ = dispatch_ ? dispatch_->memberSet() : nullptr;
  }
  Object* get() const { return obj_.get(); }
  const Ref<Object>& ref() const { return obj_; }
  explicit operator bool() const { return obj_ != nullptr; }

  // callAt on the object.
  Variant callAt(std::u16string_view name, int kinds, std::span<Variant> args, MemberSite& site) {
    // The member keeps its object alive while it runs (Automation::invoke).
    if (set_ && site.set == set_) return dispatch_->invoke(site.id, kinds, args);
    return rt::callAt(obj_.get(), name, kinds, args, site);
  }

 private:
  Ref<Object> obj_;
  Dispatch* dispatch_ = nullptr;  // of obj_, which keeps it
  const void* set_ = nullptr;
};

// --- Argument conversion ------------------------------------------------

// How a parameter type is read from an argument slot.
template <class T, class = void>
struct ArgOf;

template <> struct ArgOf<Variant> { static Variant get(Variant& v) { return v; } };
template <> struct ArgOf<const Variant&> { static const Variant& get(Variant& v) { return v; } };
// By reference: the callee sees and changes the caller's slot.
template <> struct ArgOf<Variant&> { static Variant& get(Variant& v) { return v; } };
template <> struct ArgOf<int16_t> { static int16_t get(Variant& v) { return toInteger(v); } };
template <> struct ArgOf<int32_t> { static int32_t get(Variant& v) { return toLong(v); } };
template <> struct ArgOf<uint8_t> { static uint8_t get(Variant& v) { return toByte(v); } };
template <> struct ArgOf<double> { static double get(Variant& v) { return toDouble(v); } };
template <> struct ArgOf<float> { static float get(Variant& v) { return toSingle(v); } };
template <> struct ArgOf<bool> { static bool get(Variant& v) { return toBool(v); } };
template <> struct ArgOf<Date> { static Date get(Variant& v) { return toDate(v); } };
template <> struct ArgOf<Currency> { static Currency get(Variant& v) { return toCurrency(v); } };
template <> struct ArgOf<std::u16string> { static std::u16string get(Variant& v) { return toText(v); } };
template <> struct ArgOf<const std::u16string&> { static std::u16string get(Variant& v) { return toText(v); } };

// An object parameter: Nothing passes as an empty Ref; a value that is no
// object, or an object without interface T, is a type mismatch.
RT_API Object* objectArg(const Variant& v);
template <class T>
struct ArgOf<Ref<T>> {
  static Ref<T> get(Variant& v) {
    Object* o = objectArg(v);
    if (!o) return Ref<T>();
    Ref<T> r = queryRef<T>(o);
    if (!r) raise(err::TypeMismatch);
    return r;
  }
};
template <class T>
struct ArgOf<const Ref<T>&> : ArgOf<Ref<T>> {};

// Optional parameters: absent when the call has fewer arguments.
template <class T>
struct ArgOf<std::optional<T>> {
  static std::optional<T> get(Variant& v) { return ArgOf<T>::get(v); }
};

// --- Result conversion --------------------------------------------------

template <class R>
Variant resultOf(R&& r) {
  using D = std::decay_t<R>;
  if constexpr (std::is_same_v<D, Variant>) return std::forward<R>(r);
  else if constexpr (std::is_same_v<D, bool>) return Variant(static_cast<bool>(r));
  else if constexpr (std::is_same_v<D, std::u16string>) return Variant(std::forward<R>(r));
  else return Variant(r);
}

namespace detail {

template <class T> struct IsOptional : std::false_type {};
template <class T> struct IsOptional<std::optional<T>> : std::true_type {};

template <class... A>
constexpr int requiredCount() {
  int n = 0;
  bool seenOptional = false;
  ((IsOptional<std::decay_t<A>>::value ? (seenOptional = true) : (seenOptional ? 0 : ++n)), ...);
  return n;
}

template <class A>
decltype(auto) argAt(std::span<Variant> args, size_t i) {
  if constexpr (IsOptional<std::decay_t<A>>::value) {
    if (i >= args.size()) return std::decay_t<A>();
    return ArgOf<std::decay_t<A>>::get(args[i]);
  } else {
    return ArgOf<A>::get(args[i]);
  }
}

// Calls f(self, converted args...) and wraps the result.
template <class T, class F, class... A, size_t... I>
Variant callWith(F& f, T& self, std::span<Variant> args, std::index_sequence<I...>) {
  using R = std::invoke_result_t<F&, T&, A...>;
  if constexpr (std::is_void_v<R>) {
    std::invoke(f, self, argAt<A>(args, I)...);
    return Variant();
  } else {
    return resultOf(std::invoke(f, self, argAt<A>(args, I)...));
  }
}

// The parameters after `self` of a member function, a function taking
// (T&, A...) or a closure taking (T&, A...).
template <class F> struct MemSig;
template <class C, class R, class... A> struct MemSig<R (C::*)(A...)> { using Args = std::tuple<A...>; };
template <class C, class R, class... A> struct MemSig<R (C::*)(A...) const> { using Args = std::tuple<A...>; };
template <class C, class R, class... A> struct MemSig<R (C::*)(A...) noexcept> { using Args = std::tuple<A...>; };
template <class C, class R, class... A> struct MemSig<R (C::*)(A...) const noexcept> { using Args = std::tuple<A...>; };
template <class F> struct SelfSig;
template <class C, class R, class S, class... A> struct SelfSig<R (C::*)(S, A...) const> { using Args = std::tuple<A...>; };
template <class C, class R, class S, class... A> struct SelfSig<R (C::*)(S, A...)> { using Args = std::tuple<A...>; };
template <class F, class = void> struct Sig : SelfSig<decltype(&F::operator())> {};
template <class F> struct Sig<F, std::enable_if_t<std::is_member_function_pointer_v<F>>> : MemSig<F> {};
template <class R, class S, class... A> struct Sig<R (*)(S, A...)> { using Args = std::tuple<A...>; };

template <class Tuple> struct Counts;
template <class... A> struct Counts<std::tuple<A...>> {
  static constexpr int required = requiredCount<A...>();
  static constexpr int total = sizeof...(A);
};

}  // namespace detail

// One member handler: checks the argument count and calls.
template <class T>
struct Handler {
  std::function<Variant(T&, std::span<Variant>)> fn;
  int minArgs = 0;
  int maxArgs = 0;  // -1: any number (a trailing span parameter)
  explicit operator bool() const { return static_cast<bool>(fn); }
};

// Wraps a member function `R (T::*)(A...)`, or a callable `R(T&, A...)`, or a
// callable `R(T&, std::span<Variant>)` that takes the raw arguments.
template <class T, class F>
Handler<T> handlerOf(F f) {
  if constexpr (std::is_invocable_v<F&, T&, std::span<Variant>>) {
    return Handler<T>{[f](T& self, std::span<Variant> a) mutable {
                        using R = std::invoke_result_t<F&, T&, std::span<Variant>>;
                        if constexpr (std::is_void_v<R>) {
                          std::invoke(f, self, a);
                          return Variant();
                        } else {
                          return resultOf(std::invoke(f, self, a));
                        }
                      },
                      0, -1};
  } else {
    using Args = typename detail::Sig<F>::Args;
    using C = detail::Counts<Args>;
    return Handler<T>{[f](T& self, std::span<Variant> a) mutable {
                        return [&]<class... A>(std::tuple<A...>*) {
                          return detail::callWith<T, F, A...>(f, self, a,
                                                              std::index_sequence_for<A...>{});
                        }(static_cast<Args*>(nullptr));
                      },
                      C::required, C::total};
  }
}

// The members of a class, built once:
//
//   static const MemberTable<ErrInfo>& table() {
//     static const auto t = MemberTable<ErrInfo>(u"ErrInfo")
//         .method(u"Clear", &ErrInfo::clear)
//         .get(u"HaveErr", &ErrInfo::haveErr).byDefault()
//         .prop(u"Number", &ErrInfo::number, &ErrInfo::setNumber);
//     return t;
//   }
template <class T>
class MemberTable {
 public:
  struct Member {
    std::u16string name;
    std::u16string folded;
    Handler<T> call, get, let, set;
  };

  explicit MemberTable(std::u16string className) : className_(std::move(className)) {}

  template <class F>
  MemberTable& method(std::u16string_view name, F f) {
    slot(name).call = handlerOf<T>(f);
    return *this;
  }
  template <class F>
  MemberTable& get(std::u16string_view name, F f) {
    slot(name).get = handlerOf<T>(f);
    return *this;
  }
  template <class F>
  MemberTable& let(std::u16string_view name, F f) {
    slot(name).let = handlerOf<T>(f);
    return *this;
  }
  template <class F>
  MemberTable& set(std::u16string_view name, F f) {
    slot(name).set = handlerOf<T>(f);
    return *this;
  }
  template <class G, class L>
  MemberTable& prop(std::u16string_view name, G g, L l) {
    get(name, g);
    return let(name, l);
  }
  // Makes the member named last the default member.
  MemberTable& byDefault() {
    defaultIndex_ = static_cast<int>(last_);
    return *this;
  }

  const std::u16string& className() const { return className_; }

  DispId find(std::u16string_view name) const {
    std::u16string f = foldCase(name);
    for (size_t i = 0; i < members_.size(); ++i)
      if (members_[i].folded == f) return static_cast<DispId>(i + 1);
    return kDispUnknown;
  }

  Variant invoke(T& self, DispId id, int kinds, std::span<Variant> args) const {
    if (id == kDispValue) {
      if (defaultIndex_ < 0) raise(err::NotSupported);
      id = defaultIndex_ + 1;
    }
    if (id < 1 || static_cast<size_t>(id) > members_.size()) raise(err::NotSupported);
    const Member& m = members_[id - 1];
    // A property get and a method call stand in for each other, as they do
    // for late-bound callers that cannot tell the two apart.
    const Handler<T>* h = nullptr;
    if ((kinds & PropGet) && m.get) h = &m.get;
    else if ((kinds & Method) && m.call) h = &m.call;
    else if ((kinds & PropGet) && m.call) h = &m.call;
    else if ((kinds & Method) && m.get) h = &m.get;
    else if ((kinds & PropLet) && m.let) h = &m.let;
    else if ((kinds & PropSet) && m.set) h = &m.set;
    if (!h) raise(err::NotSupported, m.name);
    int n = static_cast<int>(args.size());
    if (n < h->minArgs || (h->maxArgs >= 0 && n > h->maxArgs)) raise(err::WrongArgumentCount, m.name);
    return h->fn(self, args);
  }

 private:
  Member& slot(std::u16string_view name) {
    std::u16string f = foldCase(name);
    for (size_t i = 0; i < members_.size(); ++i)
      if (members_[i].folded == f) return members_[last_ = i];
    members_.push_back(Member{std::u16string(name), std::move(f), {}, {}, {}, {}});
    last_ = members_.size() - 1;
    return members_.back();
  }

  std::u16string className_;
  std::vector<Member> members_;
  size_t last_ = 0;
  int defaultIndex_ = -1;
};

// The usual base of a public class: Dispatch from `T::members()`, and a
// `query` that answers Dispatch and `Ifaces`.
template <class T, class... Ifaces>
class Automation : public Dispatch, public Ifaces... {
 public:
  void* query(const Iid& iid) noexcept override {
    return queryAmong<Dispatch, Ifaces...>(static_cast<T*>(this), iid);
  }
  DispId memberId(std::u16string_view name) override { return T::members().find(name); }
  const void* memberSet() override { return &T::members(); }
  // Memory running out in a member is error 7: only runtime errors leave a
  // library.
  Variant invoke(DispId id, int kinds, std::span<Variant> args) override {
    Ref<T> keep(static_cast<T*>(this));  // a member may drop the caller's last reference
    try {
      return T::members().invoke(*keep, id, kinds, args);
    } catch (const std::bad_alloc&) {
      raise(err::OutOfMemory);
    }
  }
  std::u16string typeName() override { return T::members().className(); }

 protected:
  // Deletes through the most derived type, from its own address.
  void destroy() noexcept override { delete static_cast<T*>(this); }
};

}  // namespace rt
