// Rings of objects that nothing outside them holds (rt/rings.h).
//
// Object::rings_ keeps, in its low byte, where the object stands, and above
// it a number: while the object is listed, its place in its list; during a
// look, its place among the objects walked; at rest, whether a look found
// it held.  So a look needs no table of the objects it walks: only the list
// of them (what names each one's contents, and its count), and a stack of
// places no longer than that list.
//
// Two kinds of look.  A near look starts from the possible roots and stops
// at objects found held by an earlier look and not let go of since: what
// lives on untouched is not walked again.  What those hold counts as held
// from outside, which frees nothing by mistake; but a ring that passes
// through one of them is not found there, so the object walked that holds
// one, if held, is put aside for the next full look, which walks through
// everything from the roots and the objects put aside.  A full look comes
// once as many objects have been found held since the last one as it found:
// full looks cost at most twice what lives.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <new>
#include <type_traits>
#include <unordered_set>
#include <utility>
#include <vector>

#include "release.h"
#include "rt/rings.h"

namespace rt {

namespace {

constexpr uint32_t kTraced = 1;    // names what it holds
constexpr uint32_t kRoot = 2;      // a possible root
constexpr uint32_t kPutAside = 4;  // left for the next full look
constexpr uint32_t kWalked = 8;    // reached by the look running now
constexpr uint32_t kEdge = 16;     // ... and holds what the near look stops at
constexpr uint32_t kGone = 32;     // ... nothing holds it: the look destroys it
constexpr uint32_t kLetGo = 64;    // ... not held, and it has let go of all it held
constexpr uint32_t kFlags = 0xFF;
constexpr unsigned kShift = 8;
// As a place: past the places the number holds (an object walked there is
// taken as held from outside).
constexpr uint32_t kNumberMax = 0xFFFFFF;
// At rest: found held by a look, and not let go of since.
constexpr uint32_t kFoundHeld = 1;

constexpr uint32_t numberIn(uint32_t state) { return state >> kShift; }
constexpr uint32_t withNumber(uint32_t flags, uint32_t n) { return flags | n << kShift; }
constexpr uint32_t kAtRest = kTraced;
constexpr uint32_t kFoundHeldAtRest = withNumber(kTraced, kFoundHeld);

// A look comes after at least this many possible roots, so that a script
// that touches a few objects in a loop never pays for one.
constexpr size_t kLeastBetweenLooks = 1024;
// How many objects a near look may walk for each root at no extra wait: a
// value with its lists and what they hold.
constexpr size_t kNearRoot = 8;

// Listed objects, each knowing its place (the number of its state), so
// that one that goes leaves at once.  The addresses are kept inverted: a
// leak checker that took them for references would never report a ring
// left behind.
class Listed {
 public:
  size_t size() const { return places_.size() + beyond_.size(); }

  // Lists `o` with `flag`; false when there is no memory for it.
  bool add(Object& o, uint32_t& state, uint32_t flag) noexcept {
    try {
      const size_t place = places_.size();
      if (place < kNumberMax) {
        places_.push_back(hidden(&o));
        state = withNumber(kTraced | flag, static_cast<uint32_t>(place));
      } else {
        beyond_.insert(hidden(&o));
        state = withNumber(kTraced | flag, kNumberMax);
      }
      return true;
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  // Takes out `o`, listed with `state`; the object moved into its place is
  // told its new one.
  template <class StateOf>
  void remove(Object& o, uint32_t state, StateOf stateOf) noexcept {
    const uint32_t place = numberIn(state);
    if (place == kNumberMax) {
      beyond_.erase(hidden(&o));
      return;
    }
    if (place >= places_.size() || places_[place] != hidden(&o)) return;  // listed elsewhere
    const uintptr_t last = places_.back();
    places_.pop_back();
    if (place == places_.size()) return;
    places_[place] = last;
    uint32_t& moved = stateOf(*shown(last));
    moved = withNumber(moved & kFlags, place);
  }
  template <class Visit>
  void forEach(Visit visit) const {
    constexpr size_t kAhead = 8;  // fetched from memory while those before are visited
    for (size_t i = 0; i < places_.size(); ++i) {
      if (i + kAhead < places_.size()) __builtin_prefetch(shown(places_[i + kAhead]));
      visit(*shown(places_[i]));
    }
    for (uintptr_t a : beyond_) visit(*shown(a));
  }
  // Every object as listed again with `flag`, its place as it stands.
  template <class StateOf>
  void markAll(uint32_t flag, StateOf stateOf) const {
    for (size_t i = 0; i < places_.size(); ++i)
      stateOf(*shown(places_[i])) = withNumber(kTraced | flag, static_cast<uint32_t>(i));
    for (uintptr_t a : beyond_) stateOf(*shown(a)) = withNumber(kTraced | flag, kNumberMax);
  }
  void clear(size_t keepRoom) {
    places_.clear();
    beyond_.clear();
    if (places_.capacity() > 4 * keepRoom) std::vector<uintptr_t>().swap(places_);
  }
  void reserve(size_t more) { places_.reserve(places_.size() + more); }

 private:
  static uintptr_t hidden(Object* o) { return ~reinterpret_cast<uintptr_t>(o); }
  static Object* shown(uintptr_t a) { return reinterpret_cast<Object*>(~a); }

  std::vector<uintptr_t> places_;
  std::unordered_set<uintptr_t> beyond_;
};

// A list that grows by blocks that never move: it never holds two copies
// of itself, as a vector does while it grows.
template <class T>
class BlockList {
 public:
  static constexpr size_t kShift = 12, kBlock = size_t{1} << kShift;

  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

  BlockList() = default;
  BlockList(const BlockList&) = delete;
  BlockList& operator=(const BlockList&) = delete;
  ~BlockList() {
    for (T* b : blocks_) ::operator delete(b);
  }

  size_t size() const { return size_; }
  T& operator[](size_t i) { return blocks_[i >> kShift][i & (kBlock - 1)]; }
  void push_back(const T& v) {
    if (size_ == room_) {
      blocks_.reserve(blocks_.size() + 1);
      blocks_.push_back(static_cast<T*>(::operator new(kBlock * sizeof(T))));
      room_ += kBlock;
    }
    new (&(*this)[size_]) T(v);
    ++size_;
  }
 private:
  std::vector<T*> blocks_;
  size_t size_ = 0, room_ = 0;
};

// The rings state of one thread.
struct Roots {
  Listed roots;                       // let go of to a count above zero
  Listed putAside;                    // held, holding what near looks stop at
  size_t lookAt = kLeastBetweenLooks;  // a near look when there are this many roots
  size_t foundHeld = 0;               // by near looks since the last full one
  size_t fullAt = kLeastBetweenLooks;  // a full look when foundHeld reaches it
  size_t walked = 0;                  // by every look so far
  unsigned chances = 0;
  void* running = nullptr;  // the look running now (a Rings::Look), if any
};

// This thread's state, made at its first possible root.
thread_local Roots* roots __attribute__((tls_model("initial-exec"))) = nullptr;
// Set once the thread's state has gone with it: objects let go of later
// (by static holders at the end of the process) are not listed again.
thread_local bool rootsGone __attribute__((tls_model("initial-exec"))) = false;

std::atomic<Rings::Pace> pace{Rings::Pace::Spread};

}  // namespace

struct Rings::Look {
  // The thread's state ends with it: every object listed is as if never
  // listed, so that one let go of later touches nothing of it.
  struct Owner {
    ~Owner() {
      if (Roots* r = roots) {
        auto atRest = [](Object& o) { stateOf(o) = kAtRest; };
        r->roots.forEach(atRest);
        r->putAside.forEach(atRest);
        delete r;
        roots = nullptr;
      }
      rootsGone = true;
    }
    void holdsRoots() {}
  };

  static Roots* rootsOfThisThread() noexcept {
    if (roots || rootsGone) return roots;
    static thread_local Owner owner;
    owner.holdsRoots();
    roots = new (std::nothrow) Roots;
    return roots;
  }

  static uint32_t& state(Object& o) noexcept { return stateOf(o); }

  static void run(Roots& r, bool full) noexcept {
    Look look(full);
    r.running = &look;
    if (look.reach(r) && look.keepHeld(r)) look.settle(r);
    else look.abandon(r);
    r.running = nullptr;
  }

  // Whether `o`, whose last reference has gone, is one the running look is
  // letting go of: it is then destroyed by the look, once all have let go.
  static bool keepsForLater(Object& o) noexcept {
    uint32_t& s = state(o);
    if (!(s & kWalked)) return false;
    if (s & kLetGo) {
      static_cast<Look*>(roots->running)->walked_[numberIn(s)].waiting = false;
      return false;
    }
    s |= kGone;
    return true;
  }

 private:
  // An object walked: how many of its references may come from outside
  // (the others walked are taken off as they are met), and whether it is
  // held.  Its state holds its place here, so that what is met is found
  // without a table.  Kept in blocks, which never move: the list grows by
  // a block at a time and never holds two copies of itself.
  struct Walked {
    HoldsObjects* holder;  // asked once
    uint32_t outside;
    bool held;
    bool waiting;  // unheld, it has let go, and something still holds it
    Object& object() const { return *holder; }
  };
  // Too many references to count: held from outside.
  static constexpr uint32_t kUncounted = UINT32_MAX;

  explicit Look(bool full) : full_(full) {}

  // 1. The roots, and all they reach through traced objects (a near look
  // stops at what was found held before).  Each reference from one object
  // walked to another is taken off the other's count as it is met: what is
  // left comes from outside.
  struct Reach final : HeldVisitor {
    Look& look;
    Object* from = nullptr;
    explicit Reach(Look& l) : look(l) {}
    void held(Object* o) noexcept override {
      if (!o) return;
      uint32_t s = state(*o);
      if (!(s & kTraced)) return;
      if (!(s & kWalked)) {
        if (!look.full_ && stopsNearLook(s)) {
          uint32_t& f = state(*from);
          look.edges_ += !(f & kEdge);
          f |= kEdge;
          return;
        }
        if (!look.enter(*o)) return;
        s = state(*o);
      }
      // Past the places a number holds, an object is taken as held.
      if (numberIn(s) == kNumberMax) return;
      uint32_t& outside = look.walked_[numberIn(s)].outside;
      // More named than counted: taken as held, which frees nothing by mistake.
      if (outside == 0) outside = kUncounted;
      else if (outside != kUncounted) --outside;
    }
  };

  bool reach(const Roots& r) {
    r.roots.forEach([&](Object& o) { enter(o); });
    if (full_) r.putAside.forEach([&](Object& o) { enter(o); });
    // Depth first: an object is walked right after it is met, while what it
    // is made of is still at hand.
    Reach visit(*this);
    while (!stack_.empty() && !failed_) {
      HoldsObjects* h = walked_[stack_.back()].holder;
      stack_.pop_back();
      // The next one to walk is fetched from memory while this one is.
      if (!stack_.empty()) __builtin_prefetch(walked_[stack_.back()].holder);
      visit.from = h;
      h->eachHeld(visit);
    }
    return !failed_;
  }

  // 2. What something outside holds, with all it reaches, stays.
  struct Keep final : HeldVisitor {
    Look& look;
    explicit Keep(Look& l) : look(l) {}
    void held(Object* o) noexcept override {
      if (!o) return;
      const uint32_t s = state(*o);
      if (!(s & kWalked)) return;
      const uint32_t at = numberIn(s);
      if (at == kNumberMax || look.walked_[at].held) return;
      look.walked_[at].held = true;
      look.stack_.push_back(at);  // never past the room reserved: one push each
    }
  };

  bool keepHeld(Roots& r) {
    try {
      stack_.reserve(walked_.size());
      r.putAside.reserve(edges_);  // room for all that may be put aside
    } catch (const std::bad_alloc&) {
      return false;
    }
    for (size_t i = 0; i < walked_.size(); ++i) {
      Walked& w = walked_[i];
      w.held = w.outside > 0;
      if (w.held) stack_.push_back(static_cast<uint32_t>(std::min<size_t>(i, kNumberMax)));
    }
    Keep visit(*this);
    while (!stack_.empty()) {
      const uint32_t at = stack_.back();
      stack_.pop_back();
      if (at != kNumberMax) walked_[at].holder->eachHeld(visit);
    }
    std::vector<uint32_t>().swap(stack_);
    return true;
  }

  // 3. What is held comes to rest, found held (or put aside: it holds what
  // the near look stopped at); the rest lets go of what it holds, which
  // frees it.  Nothing fails from here on.
  void settle(Roots& r) {
    const size_t rootsTaken = r.roots.size();
    // Every root leaves its list, and at a full look every object put aside.
    r.roots.clear(kLeastBetweenLooks);
    if (full_) r.putAside.clear(kLeastBetweenLooks);
    r.walked += walked_.size();
    size_t held = 0;
    for (size_t i = 0; i < walked_.size(); ++i) {
      const Walked& w = walked_[i];
      if (!w.held) continue;
      ++held;
      uint32_t& s = state(w.object());
      // (Put aside into the room kept; or, past the places a number holds
      // with no memory left, found held: a ring through it is then found
      // once it is let go of again.)
      if (!(s & kEdge) || !r.putAside.add(w.object(), s, kPutAside)) s = kFoundHeldAtRest;
    }
    // What a near look walks near its roots is paid for by the roots; what
    // it walked beyond that, held (a structure never found held before), by
    // waiting for as many roots.  A full look is paid for by the objects
    // found held before it.
    const size_t near = kNearRoot * rootsTaken;
    r.lookAt = std::max(kLeastBetweenLooks, full_ || held < near ? 0 : held - near);
    if (full_) {
      r.foundHeld = 0;
      r.fullAt = std::max(kLeastBetweenLooks, held);
    } else {
      r.foundHeld += held;
    }
    // Each of the rest lets go in its turn, and goes once nothing holds it:
    // one whose last reference goes before its turn (or during it) waits
    // for it (keepsForLater).  Each is fetched from memory while those
    // before it let go: what names its contents first, then (found through
    // that) its count.
    constexpr size_t kAhead = 8;
    for (size_t i = 0; i < walked_.size(); ++i) {
      if (i + 2 * kAhead < walked_.size()) __builtin_prefetch(walked_[i + 2 * kAhead].holder);
      if (i + kAhead < walked_.size()) __builtin_prefetch(&walked_[i + kAhead].object());
      Walked& w = walked_[i];
      if (w.held) continue;
      w.holder->letGoOfHeld();
      uint32_t& s = state(w.object());
      s |= kLetGo;
      if (s & kGone) {
        s = 0;
        w.object().releaseLast();
      } else {
        w.waiting = true;  // till later ones let go
      }
    }
    for (size_t i = 0; i < walked_.size(); ++i)
      if (walked_[i].waiting) state(walked_[i].object()) = kAtRest;  // held by what it did not name
  }

  // Memory ran out on the way: every object as it was.
  void abandon(Roots& r) {
    for (size_t i = 0; i < walked_.size(); ++i) state(walked_[i].object()) = kAtRest;
    r.roots.markAll(kRoot, stateOf);
    r.putAside.markAll(kPutAside, stateOf);
    r.lookAt = r.roots.size() + std::max(kLeastBetweenLooks, r.roots.size());
  }

  // Whether a near look stops at `s`: found held before, or put aside.
  static bool stopsNearLook(uint32_t s) { return s == kFoundHeldAtRest || (s & kPutAside); }

  // Walks `o` from now on; false when it cannot be.
  bool enter(Object& o) noexcept {
    uint32_t& s = state(o);
    if (s & kWalked) return true;
    auto* h = static_cast<HoldsObjects*>(o.query(HoldsObjects::iid));
    if (!h || failed_) return false;
    __builtin_prefetch(h);  // what names its contents is asked soon
    const size_t at = walked_.size();
    try {
      walked_.push_back(Walked{h, at < kNumberMax ? countOf(o) : kUncounted, false, false});
      if (at < kNumberMax) stack_.push_back(static_cast<uint32_t>(at));
    } catch (const std::bad_alloc&) {
      failed_ = true;
      return false;
    }
    s = withNumber(kTraced | kWalked, static_cast<uint32_t>(std::min<size_t>(at, kNumberMax)));
    return true;
  }

  const bool full_;
  bool failed_ = false;
  size_t edges_ = 0;
  BlockList<Walked> walked_;
  std::vector<uint32_t> stack_;  // places in walked_
};

void Object::mayHaveBecomeGarbage() noexcept { Rings::addPossibleRoot(*this); }

void Rings::addPossibleRoot(Object& o) noexcept {
  if (Roots* r = Look::rootsOfThisThread()) {
    if (!r->roots.add(o, o.rings_, kRoot)) o.rings_ = kAtRest;  // its ring lasts till it is let go again
  }
}

bool Rings::letGo(Object& o) noexcept {
  if (Look::keepsForLater(o)) return true;
  const uint32_t s = std::exchange(o.rings_, 0);
  Roots* r = roots;
  if (!r) return false;
  if (s & kRoot) r->roots.remove(o, s, stateOf);
  else if (s & kPutAside) r->putAside.remove(o, s, stateOf);
  return false;
}

void Rings::lookIfDue() noexcept {
  Roots* r = roots;
  if (!r || r->running || releasing()) return;
  switch (pace.load(std::memory_order_relaxed)) {
    case Pace::Spread:
      if (r->roots.size() >= r->lookAt) Look::run(*r, false);
      if (r->foundHeld >= r->fullAt) Look::run(*r, true);
      break;
    case Pace::EveryChance:
      // Near looks at every chance, full ones at every eighth: each kind
      // has its chance to free what it should not.
      Look::run(*r, ++r->chances % 8 == 0);
      break;
    case Pace::OnlyWhenAsked:
      break;
  }
}

void Rings::look() noexcept {
  Roots* r = roots;
  if (r && !r->running && !releasing() && (r->roots.size() > 0 || r->putAside.size() > 0))
    Look::run(*r, true);
}

void Rings::setPace(Pace p) noexcept { pace.store(p, std::memory_order_relaxed); }

size_t Rings::possibleRoots() noexcept { return roots ? roots->roots.size() : 0; }

size_t Rings::walkedSoFar() noexcept { return roots ? roots->walked : 0; }

}  // namespace rt
