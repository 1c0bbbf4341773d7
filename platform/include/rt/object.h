// The object model: identifiers, reference-counted objects and interface queries.
//
// Objects are counted intrusively and without atomics: everything runs on one
// thread.  Every interface derives virtually from `Object`, so a class that
// implements several interfaces still has one count and one identity (the
// address of its `Object` part, which is what "the same object" means).
//
// Libraries hide their symbols, so type information is not shared between
// them.  An object from another library is therefore reached by asking it for
// an interface ID (`query`), never by `dynamic_cast`.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "rt/api.h"

namespace rt {

// A 128-bit identifier (class ID or interface ID).
struct Guid {
  uint64_t hi = 0;
  uint64_t lo = 0;

  friend constexpr bool operator==(const Guid&, const Guid&) = default;
  friend constexpr auto operator<=>(const Guid&, const Guid&) = default;
  constexpr bool isNull() const { return hi == 0 && lo == 0; }

  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
  RT_API std::string toString() const;
  // Accepts the form above, with or without braces, either letter case.
  RT_API static bool parse(std::string_view text, Guid& out);
};

// A stable identifier derived from a name, so class and interface IDs need no
// table: the same name gives the same ID in every build.  (Two FNV-1a hashes
// with different seeds; the variant and version bits are set like a name-based
// UUID so the text form looks familiar.)
constexpr Guid guidOf(std::string_view name) {
  uint64_t a = 0xcbf29ce484222325ull, b = 0x84222325cbf29ce4ull;
  for (unsigned char c : name) {
    a = (a ^ c) * 0x100000001b3ull;
    b = (b ^ static_cast<unsigned char>(c + 0x5a)) * 0x100000001b3ull;
  }
  b ^= a >> 29;
  a = (a & ~0xf000ull) | 0x5000ull;                          // version 5
  b = (b & 0x3fffffffffffffffull) | 0x8000000000000000ull;   // RFC 4122 variant
  return Guid{a, b};
}

using Iid = Guid;

class Object {
 public:
  static constexpr Iid iid = guidOf("rt.Object");

  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  void addRef() noexcept { ++refs_; }
  // Lets go of one reference; the last one destroys the object.  A
  // destructor must never reach the object that held this one (through a
  // back pointer, say): a destruction nested in others deeper than a fixed
  // depth waits until the outermost one has ended (releaseLast), and by
  // then the owner is gone.  Builds with checks (without NDEBUG) make every
  // nested destruction wait, so that such a destructor reads freed memory
  // in every test, where the sanitizers report it.
  void release() noexcept {
    if (--refs_ == 0) releaseLast();
    else if (static_cast<uint8_t>(rings_) == kRingTraced) [[unlikely]] mayHaveBecomeGarbage();
  }
  uint32_t refCount() const noexcept { return refs_; }

  // The interface `iid` of this object, or nullptr.  The pointer is not
  // counted; wrap it in a `Ref` (see `queryRef`).  Classes answer through
  // `queryAmong`; the base answers only for `Object` itself.
  virtual void* query(const Iid& iid) noexcept {
    return iid == Object::iid ? static_cast<Object*>(this) : nullptr;
  }

 protected:
  virtual ~Object() = default;
  virtual void destroy() noexcept { delete this; }

 private:
  // Destroys the object whose last reference went.  A destructor releases
  // what the object held, so letting go of a chain nests one destruction in
  // another as deep as the chain: past a fixed depth an object is put aside
  // instead, and the outermost release destroys what was put aside one by
  // one, so a chain of any length takes a bounded native stack.
  RT_API void releaseLast() noexcept;
  // Let go of to a count above zero, this object of a class that names what
  // it holds may have just become garbage in a ring: it becomes a possible
  // root of the next look for rings (rt/rings.h).
  RT_API void mayHaveBecomeGarbage() noexcept;
  friend class ReleaseQueue;
  friend class Rings;
  friend class HoldsObjects;

  // The low byte of rings_ of an object that names what it holds, and is
  // not listed by the look for rings nor part of one; 0 for every other
  // object.
  static constexpr uint8_t kRingTraced = 1;

  uint32_t refs_ = 0;
  // What finding rings keeps in the object (rings.cpp); it fills the space
  // the count leaves before the next field would be aligned.
  uint32_t rings_ = 0;
};

// An owning, counted pointer.
template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}
  Ref(T* p) noexcept : p_(p) {
    if (p_) p_->addRef();
  }
  Ref(const Ref& o) noexcept : Ref(o.p_) {}
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& o) noexcept : Ref(o.get()) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(Ref<U>&& o) noexcept : p_(o.detach()) {}
  ~Ref() {
    if (p_) p_->release();
  }

  Ref& operator=(const Ref& o) noexcept {
    Ref(o).swap(*this);
    return *this;
  }
  Ref& operator=(Ref&& o) noexcept {
    Ref(std::move(o)).swap(*this);
    return *this;
  }
  Ref& operator=(std::nullptr_t) noexcept {
    Ref().swap(*this);
    return *this;
  }

  // Takes over a pointer whose count already includes this reference.
  static Ref adopt(T* p) noexcept {
    Ref r;
    r.p_ = p;
    return r;
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  T* detach() noexcept { return std::exchange(p_, nullptr); }
  void swap(Ref& o) noexcept { std::swap(p_, o.p_); }

  friend bool operator==(const Ref& a, const Ref& b) { return a.p_ == b.p_; }
  friend bool operator==(const Ref& a, std::nullptr_t) { return a.p_ == nullptr; }

 private:
  T* p_ = nullptr;
};

template <class T, class... A>
Ref<T> make(A&&... args) {
  return Ref<T>(new T(std::forward<A>(args)...));
}

// Interface `T` of `o`, or an empty Ref.
template <class T>
Ref<T> queryRef(Object* o) {
  return o ? Ref<T>(static_cast<T*>(o->query(T::iid))) : Ref<T>();
}

// For `query` overrides: the first of `Ifaces` whose ID matches, cast from
// `self`.  Object itself is always answered.
template <class... Ifaces, class Self>
void* queryAmong(Self* self, const Iid& iid) noexcept {
  void* p = nullptr;
  (void)((iid == Ifaces::iid ? (p = static_cast<Ifaces*>(self), true) : false) || ...);
  if (!p && iid == Object::iid) p = static_cast<Object*>(self);
  return p;
}

}  // namespace rt
