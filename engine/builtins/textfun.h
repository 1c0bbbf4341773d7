// The frame of the libraries that take their arguments as text (WinComm,
// Dir, String, Date, System, cType).
//
// FunCall clears Error, gathers up to ten arguments as text (the ordinary
// Variant-to-text form; items beyond the tenth are not read), finds the
// function its Key names and lets the function's result into a new
// SvSingle.  A wrong argument count records 1005 under the library's own
// Source and still returns the holder, with Empty or the value the
// function's entry names.  A run-time failure anywhere is trapped under
// "ScriptValue_FunCall" and FunCall returns Nothing.  A Key that names no
// function gives Integer 0.
//
// A library adds its functions as a table, in the order its names are
// tested:
//
//   rt::Variant lenFun(const TextArgs& a) { return int32_t(a.text(1).size()); }
//
//   class SvStrFuns final : public TextLibFun<SvStrFuns> {
//    public:
//     static constexpr std::u16string_view kClassName = u"SvStrFuns";  // ParentMod
//     static constexpr std::u16string_view kSource = u"StrFuns";       // for 1005
//     static std::span<const TextFun> functions();
//   };
//
//   const TextFun kStrFuns[] = {
//       {u"Len", exactly(1), &lenFun, OnBadCount::Zero},
//       {u"Mid", between(2, 3), &midFun},
//   };
//   std::span<const TextFun> SvStrFuns::functions() { return kStrFuns; }
//
// and its class to the library's class table (src/library.cpp) under the
// ProgID "Kestrin." + class name.  A class that must look at the call before
// the frame does (System's TypeName, cType's missing argument) overrides
// funCall, or defines its own public `rt::Variant evalFun(const TextArgs&)`
// (the frame calls the most derived one), and calls the frame's version
// (TextLibFun<Self>::funCall or ::evalFun) for everything else.  The Dir
// class, whose Count records nothing, overrides count().
#pragma once

#include <cstddef>
#include <new>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "builtins/libfun.h"
#include "builtins/svsingle.h"
#include "core/direct.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace engine {

// The arguments of one call as text: ArgText slots 1..count.
class TextArgs {
 public:
  static constexpr int32_t kSlots = 10;

  // Gathers from the argument object of a call: null for none, a list
  // (FlagList: an argument list, or one collection whose items become the
  // arguments), else the one argument.  Raises what reading fails with.
  explicit TextArgs(zorbel::ScriptValue* sv);
  // The same for the plain values of the arguments, which have no object.
  explicit TextArgs(std::span<const rt::Variant> values);
  ~TextArgs();
  TextArgs(const TextArgs&) = delete;
  TextArgs& operator=(const TextArgs&) = delete;

  int32_t count() const { return count_; }
  // Slot i (from 1); "" for a slot not filled.
  const std::u16string& text(int32_t i) const;
  // Whether argument i was a String value.
  bool isText(int32_t i) const { return i >= 1 && i <= count_ && (wasText_ >> (i - 1) & 1); }

  // Slot i read back as a number, a truth value or a date, by the ordinary
  // conversions (a fraction to the nearest whole number, a half to the even
  // one); text that does not convert raises the runtime's error.
  int32_t toInt(int32_t i) const;    // 32-bit
  int16_t toShort(int32_t i) const;  // 16-bit
  double toReal(int32_t i) const;
  bool toBool(int32_t i) const;
  rt::Date toDate(int32_t i) const;

  // The argument object itself (ArgList); null for a call without arguments
  // or with plain values.
  zorbel::ScriptValue* list() const { return list_; }

 private:
  // Slot i (from 1) as a String value; an empty one for a slot not filled.
  const rt::Variant& slot(int32_t i) const;
  // Slot i as it was gathered: an Integer or Long argument is kept as it
  // is until its text is asked for, since it reads back as the same number.
  const rt::Variant& gathered(int32_t i) const;

  // The constructors delegate here first, so that what a failing one took
  // is let go by the destructor.
  TextArgs() = default;
  void take(int32_t i, rt::Variant v);
  rt::Variant& at(int32_t i) const {
    return std::launder(reinterpret_cast<rt::Variant*>(slots_))[i - 1];
  }

  // Slots 1..count_, each made as its argument is taken (most calls take
  // one to three).  A String argument is kept as it is: the slot shares its
  // text.
  alignas(rt::Variant) mutable std::byte slots_[kSlots * sizeof(rt::Variant)];
  int32_t count_ = 0;
  uint32_t wasText_ = 0;  // bit i-1: argument i was a String
  zorbel::ScriptValue* list_ = nullptr;
};

// The argument counts a function accepts.
struct Counts {
  int32_t min = 0;
  int32_t max = TextArgs::kSlots;
  constexpr bool accepts(int32_t n) const { return n >= min && n <= max; }
};
constexpr Counts exactly(int32_t n) { return {n, n}; }
constexpr Counts between(int32_t lo, int32_t hi) { return {lo, hi}; }
// "n or more": the extra arguments (up to ten) are ignored.
constexpr Counts atLeast(int32_t n) { return {n, TextArgs::kSlots}; }
constexpr Counts anyCount() { return {0, TextArgs::kSlots}; }

// The value a call with a wrong count gives.
enum class OnBadCount : uint8_t { Empty, Zero, False };  // Zero: Integer 0

using TextEval = rt::Variant (*)(const TextArgs& args);

struct TextFun {
  std::u16string_view name;
  Counts counts;
  TextEval eval;
  OnBadCount onBadCount = OnBadCount::Empty;
  // It lets a value back into an argument (TextArgs::list).
  bool writesBack = false;
};

rt::Variant badCountValue(OnBadCount v);

// A library class that declares `static constexpr bool kPlainArgs = true`
// (it does not override funCall to look at the argument objects) takes
// plain argument values from the evaluator for every function that does
// not write back into its arguments.
template <class Self>
class TextLibFun : public LibFun<Self>, public PlainCall {
 public:
  void* query(const rt::Iid& id) noexcept override {
    if constexpr (requires { Self::kPlainArgs; })
      if (id == PlainCall::iid) return static_cast<PlainCall*>(this);
    return LibFun<Self>::query(id);
  }

  void setKey(std::u16string_view key) override {
    LibFun<Self>::setKey(key);
    found_ = false;
  }

  bool takesPlain() override {
    if constexpr (requires { Self::kPlainArgs; }) {
      const TextFun* f = named();
      return !f || !f->writesBack;
    }
    return false;
  }

  bool callPlain(std::span<const rt::Variant> values, rt::Variant& result) override {
    this->err_.clear();
    try {
      TextArgs args(values);
      result = static_cast<Self*>(this)->evalFun(args);
    } catch (const rt::RuntimeError& e) {
      this->err_.trap(e, kFunCallSource);
      return false;
    }
    return !this->err_.haveErr();
  }

  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace*, zorbel::ScriptValue* sv,
                                       int32_t) override {
    this->err_.clear();
    try {
      rt::Ref<SvSingle> result = rt::make<SvSingle>();
      TextArgs args(sv);
      result->letValue(static_cast<Self*>(this)->evalFun(args));
      return result;
    } catch (const rt::RuntimeError& e) {
      this->err_.trap(e, kFunCallSource);
      return nullptr;
    }
  }

 public:
  // EvalFun: the function Key names, applied to the gathered texts.
  rt::Variant evalFun(const TextArgs& args) {
    const TextFun* f = named();
    if (!f) return rt::Variant(int16_t{0});
    if (!f->counts.accepts(args.count())) {
      this->err_.setCode(ErrMissingArgument, Self::kSource);
      return badCountValue(f->onBadCount);
    }
    return f->eval(args);
  }

 private:
  // The function Key names, looked up once: a call asks for it twice.  The
  // last few names looked up, spelt as written, are remembered for the
  // class, since a script calls the same functions again and again.
  const TextFun* named() {
    if (found_) return fun_;
    struct Recent {
      std::u16string key;
      const TextFun* fun = nullptr;
    };
    static Recent recent[4];
    static unsigned next = 0;
    for (const Recent& r : recent)
      if (r.fun && std::u16string_view(r.key) == std::u16string_view(this->key_)) {
        fun_ = r.fun;
        found_ = true;
        return fun_;
      }
    fun_ = findByName(Self::functions(), this->key_);
    found_ = true;
    if (fun_) recent[next++ % 4] = Recent{this->key_, fun_};
    return fun_;
  }

  const TextFun* fun_ = nullptr;
  bool found_ = false;
};

}  // namespace engine
