// The error record every value owns, and the ways the values fill it.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

#include "jespin/errinfo.h"
#include "rt/error.h"
#include "rt/object.h"
#include "zorbel/zorbel.h"

namespace fennick {

class ErrorRecord {
 public:
  // A Jespin record owned by "Fennick".`className`, made when first needed
  // (`className` must outlive it: a literal).
  explicit ErrorRecord(std::u16string_view className) : info_(className) {}
  // A literal's length is known: values made by the thousand need not count it.
  template <size_t N>
  explicit ErrorRecord(const char16_t (&className)[N])
      : info_(std::u16string_view(className, N - 1)) {}

  jespin::IErrInfo& info() { return info_.get(u"Fennick"); }
  // Whether it holds an error, without making the record.
  bool haveErr() const { return info_.haveErr(); }
  void clear() { info_.clear(); }

  // Own code `code` under `op`.
  void code(int32_t code, std::u16string_view op);
  // A runtime error under `op`, as a trapped failure is recorded.
  void failure(const rt::RuntimeError& e, std::u16string_view op);
  // Runtime error `number` with its standard text.
  void failure(int32_t number, std::u16string_view op);
  // Takes over what `from` holds, under `op`; false when it holds no error.
  bool copyFrom(jespin::IErrInfo& from, std::u16string_view op);
  // The same for what value `from` recorded in its last operation.
  bool copyFrom(zorbel::ScriptValue& from, std::u16string_view op) {
    return from.hasError() && copyFrom(from.error(), op);
  }

  // Runs `f`; a runtime error it raises is recorded under `op` instead of
  // reaching the caller.  False when `f` failed.
  template <class F>
  bool trap(std::u16string_view op, F&& f) {
    try {
      std::forward<F>(f)();
      return true;
    } catch (const rt::RuntimeError& e) {
      failure(e, op);
      return false;
    }
  }
  // The same with a literal name, whose length is counted only on failure.
  template <size_t N, class F>
  bool trap(const char16_t (&op)[N], F&& f) {
    return trap(std::u16string_view(op, N - 1), std::forward<F>(f));
  }

 private:
  jespin::LazyErrInfo info_;
};

}  // namespace fennick
